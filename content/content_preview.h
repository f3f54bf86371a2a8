#pragma once
// What a run of a content mode would do now, worked out by the mode's own Build without
// writing a byte.

#include "content/content_frame.h"
#include "content/line_diff.h"
#include "content/two_file_frame.h"
#include "fileset/file_list.h"
#include "fileset/preview.h"
#include "platform/host.h"

namespace content {

// One row per marked file the run would come to, in run order, its `after` the line
// counts before and after ("A -> B"): 不变 when the saved text would be the file's bytes
// exactly (or the mode leaves the file), 跳过 不是文本 for a file holding a zero byte, 跳过
// 重复 for a second row of one file, 停止 with the error's text for the file the run
// would end at (one that cannot be read, a read-only one, an error of the mode), and
// nothing after it. The mode's Begin runs as in the run.
fileset::Preview PreviewContentFrame(const fileset::FileList& files, platform::Host& host,
                                     ContentMode& mode);

// The target a merge or sync would write, as one row: fewer than two marked rows show
// the mode's error box (the preview is refused); a source or target that cannot be read,
// a read-only target or an error of the mode (a match past the target's end) stop it.
fileset::Preview PreviewTwoFileFrame(const fileset::FileList& files, platform::Host& host,
                                     TwoFileMode& mode);

// The file a combine would write, as one row ("A -> B": its lines, and the lines joined),
// after a 跳过 row for each file that is no text; a file that cannot be read stops it.
fileset::Preview PreviewCombine(const fileset::FileList& files, platform::Host& host);

// The differences the run would make to the file of grid row `row`, worked out as its
// preview row is: none when the run would not come to that row, would leave the file
// or finds no text in it. A file that cannot be read throws CommandError.
LineDiff DiffContentFrame(const fileset::FileList& files, platform::Host& host, ContentMode& mode,
                          int row);
// Only the target has differences; fewer than two marked rows show the mode's error box.
LineDiff DiffTwoFileFrame(const fileset::FileList& files, platform::Host& host, TwoFileMode& mode,
                          int row);
LineDiff DiffCombine(const fileset::FileList& files, platform::Host& host, int row);

}  // namespace content
