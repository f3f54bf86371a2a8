#pragma once
// The frame every content mode runs in: the walk over the marked rows in row order,
// each file loaded as a line list, the mode's output lines, the ".bak" copy of the
// unchanged file, the save over the file, the change counter and the closing message.
// A mode supplies its page checks (before the frame) and a ContentMode (inside it).

#include <string>
#include <string_view>

#include "content/line_list.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace content {

// The closing message: kClosingBefore, the change counter, then the unit.
inline constexpr std::string_view kClosingBefore = "成功处理完成,共处理 ";
inline constexpr std::string_view kFilesUnit = " 个文件!";
inline constexpr std::string_view kRecordsUnit = " 条记录!";

// How a run ended, for the window: the control (its objectName) that gets the keyboard
// focus after an input error; empty when none.
struct RunEnd {
  std::string_view focus;
};

// The file being worked on.
struct FileContext {
  int row = 0;
  std::string fullPath;  // engine text: folder, separator, name
  std::string name;      // the row's name cell, copied: the list may change during the run
};

enum class Backup { No, Yes };          // the page's backup box
enum class FileResult { Save, Leave };  // Leave: the file is neither saved nor counted

class ContentMode {
 public:
  virtual ~ContentMode() = default;
  // Runs once the start button is disabled and before the counter is reset: what a
  // mode reads only then (a number field whose error then ends the run).
  virtual void SetUp() {}
  // Builds the output lines of one file from its source lines. Modes that walk the
  // lines let the host's messages run once per line.
  virtual FileResult Build(const FileContext& file, const LineList& source, LineSink& output) = 0;
  virtual std::string_view ClosingUnit() const { return kFilesUnit; }
};

// The run from the disabled start button on; the precondition and the page's checks
// have passed. For each marked row (the row count and the marks are read again at every
// step, since the window runs during the run): load, build, copy the unchanged file to
// path + ".bak" when asked (overwriting; a failed copy is ignored), save, count. A
// read-only file is refused before its output is built, so it gets no ".bak" copy. A
// file error ends the run at that file and propagates as CommandError: the files saved
// before stay saved, the counter shows them, no closing message is shown, and the
// start button is enabled again. A file that another program changes while it is read
// ends the run as a file that cannot be opened, unsaved and without a ".bak" copy.
void RunContentFrame(fileset::FileList& files, platform::Host& host, Backup backup,
                     ContentMode& mode);

// The ".bak" copy of the file at `path`, whose unchanged bytes are `bytes`: bytes and
// permission bits, replacing an earlier copy unless that one is read-only, and safe on
// the disk before the file itself is replaced. False when nothing was copied.
bool CopyToBackup(std::string_view path, std::string_view bytes);

}  // namespace content
