#pragma once

#include "fileset/file_list.h"
#include "platform/host.h"

namespace fileset {

inline constexpr std::string_view kNoSourceFiles = "没有源文件，请搜索后再试！";
inline constexpr std::string_view kSelectFilesFirst = "请先选择文件！";

// The check every start button and the disk and export commands make before reading
// any field: refuses an empty list and a list without a marked row, with their
// messages. Marks beyond the last row do not count. Changes nothing.
bool CheckRunPrecondition(const FileList& files, platform::Host& host);

}  // namespace fileset
