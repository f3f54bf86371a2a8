#include "fileops/file_operation_frame.h"

#include <string>

#include "platform/file_system.h"

namespace fileops {

platform::NativePath FolderToChange(const fileset::FileList& files, int row) {
  platform::NativePath folder = files.NativeFolder(row);
  if (folder.empty()) return platform::NativePath(std::string(1, platform::kPathSeparator));
  return folder;
}

void RunFileOperationFrame(fileset::FileList& files, platform::Host& host,
                           FileOperation& operation) {
  // Empty until a folder succeeds.
  std::optional<platform::NativePath> lastFolder;
  const auto visit = [&](int row) {
    const RowPlan plan = operation.PlanRow(files, row);
    if (plan.endsRun) return false;
    if (plan.change && ApplyFileChange(*plan.change)) {
      platform::AddToCounter(host, platform::Counter::Change, 1);
      operation.UpdateRow(files, row, *plan.change);
    }
    if (operation.folders() == Folders::No) return true;
    platform::NativePath folder = FolderToChange(files, row);
    if (lastFolder == folder) return true;
    const std::optional<FileChange> change = operation.PlanFolder(folder);
    if (change && ApplyFileChange(*change)) lastFolder = std::move(folder);
    return true;
  };
  const auto begin = [&] {
    host.WriteCounter(platform::Counter::Change, 0);
    operation.Begin();
  };
  fileset::RunMarkedRows(files, host, {begin, visit, {}, kFilesProcessed, {}, {}});
}

fileset::RunEnd RunFileOperationFrame(fileset::FileList& files, platform::Host& host,
                                      fileset::Prepared<FileOperation> prepared) {
  return fileset::RunPrepared(std::move(prepared), host, [&](FileOperation& operation) {
    RunFileOperationFrame(files, host, operation);
  });
}

}  // namespace fileops
