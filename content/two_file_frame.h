#pragma once
// The frame of the modes that carry lines from one file into another: the first two
// marked rows are the source and the target, later marks are ignored; only the target
// is written, and the closing message counts records instead of files. The change
// counter is left alone.

#include <cstdint>
#include <string_view>

#include "content/content_frame.h"
#include "content/line_list.h"
#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace content {

class TwoFileMode {
 public:
  TwoFileMode(Backup backup, std::string_view fewerThanTwo)
      : backup_(backup), fewerThanTwo_(fewerThanTwo) {}
  virtual ~TwoFileMode() = default;
  // Builds the target's new lines from both files, touching nothing on the disk, and
  // gives the count of records. Lets the host's messages run once per source line.
  virtual std::int64_t Build(const LineList& source, const LineList& target, LineSink& output,
                             platform::Host& host) = 0;
  Backup backup() const { return backup_; }
  // The error box when fewer than two rows are marked.
  std::string_view fewerThanTwo() const { return fewerThanTwo_; }

 private:
  Backup backup_;
  std::string_view fewerThanTwo_;
};

// The run once the page's checks have passed: fewer than two marked rows give the
// mode's error box and nothing else. Otherwise the start button is disabled, both files
// are loaded (either failing: "Cannot open file %s", nothing written), the target's new
// text is built into the save's temporary sibling, the ".bak" copy of the unchanged
// target is made when asked for, the target is replaced, and "成功处理完成,共处理 N 条记录!"
// is shown. A file holding a zero byte is no text: then nothing is written, and the
// closing box says so on a further line. Either file changed by another program while
// it was read ends the run as a file that cannot be opened. A CommandError from Build
// ends the run with the target untouched. The start button comes back however the run
// ends.
fileset::RunEnd RunTwoFileFrame(fileset::FileList& files, platform::Host& host,
                                fileset::Prepared<TwoFileMode> prepared);

}  // namespace content
