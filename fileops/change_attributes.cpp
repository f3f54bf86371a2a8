#include "fileops/change_attributes.h"

#include <string>

#include "platform/file_attributes.h"
#include "platform/file_system.h"

namespace fileops {

std::uint32_t AttributeMask(const ChangeAttributesSettings& settings) {
  std::uint32_t mask = 0;
  if (settings.archive) mask |= platform::kArchive;
  if (settings.system) mask |= platform::kSystem;
  if (settings.readOnly) mask |= platform::kReadOnly;
  if (settings.hidden) mask |= platform::kHidden;
  return mask;
}

namespace {

class ChangeAttributes final : public FileOperation {
 public:
  ChangeAttributes(std::uint32_t mask, Folders folders) : FileOperation(folders), mask_(mask) {}
  RowPlan PlanRow(const fileset::FileList& files, int row) override {
    return {AttributesChange{files.NativeFullPath(row), mask_}};
  }
  std::optional<FileChange> PlanFolder(const platform::NativePath& path) override {
    return AttributesChange{path, mask_};
  }

 private:
  const std::uint32_t mask_;
};

}  // namespace

fileset::Prepared<FileOperation> PrepareChangeAttributes(const ChangeAttributesSettings& settings) {
  const std::uint32_t mask = AttributeMask(settings);
  if (mask == 0) return fileset::Refusal{kChooseNewAttributes, {}};
  return std::make_unique<ChangeAttributes>(mask, settings.folders ? Folders::Yes : Folders::No);
}

fileset::RunEnd RunChangeAttributes(fileset::FileList& files,
                                    const ChangeAttributesSettings& settings,
                                    platform::Host& host) {
  return RunFileOperationFrame(files, host, PrepareChangeAttributes(settings));
}

}  // namespace fileops
