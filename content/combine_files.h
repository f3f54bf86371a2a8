#pragma once
// The page "文件内容合并": the lines of every marked file, in the list's current order,
// joined into the last marked file.

#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace content {

struct CombineSettings {  // the page's fields
  bool backup = true;     // chkFileCombine
};

// The run: the start button disabled, the change counter set to 0, then every marked row
// in row order (a file as often as rows name it) read and its lines appended, one more on
// the counter for each. The last file read is the target: its ".bak" copy is made when
// asked for, and its new text, every line followed by CR LF, replaces it; the other files
// are only read. The lines go straight into the target's new copy, so the files together
// may be larger than memory. A file that holds a zero byte is no text: it is passed over
// as if it were not marked, uncounted, and the closing box says how many were. A file
// that cannot be read ends the run with "Cannot open file %s", nothing written.
fileset::RunEnd RunCombineFiles(fileset::FileList& files, const CombineSettings& settings,
                                platform::Host& host);

}  // namespace content
