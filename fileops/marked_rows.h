#pragma once
// The walk that the dates and attributes runs share: every marked row in row order,
// and with it, when asked, the row's folder once per run of consecutive rows that share
// it. Only the last folder done is remembered, so a folder comes again after rows of
// another folder, and a folder that failed is tried again with the next row.

#include <functional>
#include <string_view>

#include "fileset/file_list.h"

namespace fileops {

// `doFile(row)` for every marked row; then, when `withFolders`, `doFolder(path)` with
// the row's folder as a path (the root for an empty folder cell) unless that folder
// cell equals the last folder done exactly; `doFolder` returns true when it succeeded.
// The row count and the marks are read again at every step.
void WalkMarkedRows(const fileset::FileList& files, bool withFolders,
                    const std::function<void(int row)>& doFile,
                    const std::function<bool(std::string_view folderPath)>& doFolder);

}  // namespace fileops
