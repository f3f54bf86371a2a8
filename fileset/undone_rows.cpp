#include "fileset/undone_rows.h"

#include <map>
#include <set>

#include "fileset/file_search.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace fileset {

void ShowUndone(FileList& files, const platform::UndoResult& undone) {
  const std::map<std::string, std::string> renamed(undone.renamedBack.begin(),
                                                   undone.renamedBack.end());
  const std::set<std::string> putBack(undone.putBack.begin(), undone.putBack.end());
  for (int row = 1; row < files.RowCount(); ++row) {
    if (files.Cell(row, kNameColumn).empty()) continue;
    std::string path = files.NativeFullPath(row).bytes();
    if (const auto found = renamed.find(path); found != renamed.end()) {
      path = found->second;
      files.SetCell(row, kNameColumn, platform::EngineOf(path.substr(path.rfind('/') + 1)));
    } else if (!putBack.contains(path)) {
      continue;
    }
    std::optional<platform::DirEntry> entry = platform::ReadEntry(platform::NativePath(path));
    if (!entry) continue;
    const FileRow shown = FileRowOf(files.Cell(row, kFolderColumn), std::move(*entry));
    for (const int column : {kSizeColumn, kCreatedColumn, kModifiedColumn, kTypeColumn})
      files.SetCell(row, column, shown[column]);
  }
}

}  // namespace fileset
