#include "fileops/marked_rows.h"

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace fileops {

void WalkMarkedRows(const fileset::FileList& files, bool withFolders,
                    const std::function<void(int row)>& doFile,
                    const std::function<bool(std::string_view folderPath)>& doFolder) {
  // Empty until a folder succeeds: the root's rows have an empty folder cell, and it
  // must not pass for done before it is.
  std::optional<std::string> lastFolder;
  for (int row = 1; row < files.RowCount(); ++row) {
    if (!files.IsMarked(row)) continue;
    doFile(row);
    if (!withFolders) continue;
    const std::string folder = files.Cell(row, fileset::kFolderColumn);
    if (lastFolder == folder) continue;
    const std::string path = folder.empty() ? std::string(1, platform::kPathSeparator) : folder;
    if (doFolder(path)) lastFolder = folder;
  }
}

}  // namespace fileops
