#pragma once
// What a file-operation run (rename, extension, dates, attributes) would do now, worked
// out by the same plans the run makes, without changing a name, a time or an attribute.

#include "fileops/file_operation_frame.h"
#include "fileset/file_list.h"
#include "fileset/preview.h"
#include "platform/host.h"

namespace fileops {

// One row per marked row the run would come to, in run order:
// - a rename: the old and the new full path; 不变 when the name stays; 跳过 名称无效 when no
//   file can take the new name, 目标已存在 when a file of that name is there and no earlier
//   row of the run takes it away, 重名 when an earlier row of the run takes that name;
// - times: the old and the new modification time as the list shows them;
// - attributes: old and new as "RHSA", "-" for a cleared one.
// 跳过 无法读取 for a file whose times or attributes cannot be read, 跳过 重复 for a second
// row of one file. The operation's Begin runs as in the run (a number error throws).
// Folders are not listed.
fileset::Preview PreviewFileOperation(const fileset::FileList& files, platform::Host& host,
                                      FileOperation& operation);

// "RHSA" of an attribute word: read-only, hidden, system, archive, "-" where clear.
std::string AttributeLetters(std::uint32_t attributes);

}  // namespace fileops
