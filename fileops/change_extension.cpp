#include "fileops/change_extension.h"

#include "platform/engine_text.h"

namespace fileops {

using fileset::FileList;

std::string ExtensionTemplate(std::string_view typed) {
  std::string lowered = platform::ToLower(platform::TrimBlanks(typed));
  if (lowered.empty() || lowered == "${ext}") return {};
  if (lowered.front() != '.') lowered.insert(lowered.begin(), '.');
  return lowered;
}

std::string NewExtensionFor(std::string_view name, std::string_view extensionTemplate) {
  std::string_view oldExtension = fileset::ExtensionOf(name);
  if (!oldExtension.empty()) oldExtension.remove_prefix(1);
  return platform::ReplaceAllNoCase(extensionTemplate, "${ext}", oldExtension);
}

namespace {

class ChangeExtension final : public FileOperation {
 public:
  explicit ChangeExtension(std::string extensionTemplate)
      : extensionTemplate_(std::move(extensionTemplate)) {}

  RowPlan PlanRow(const FileList& files, int row) override {
    const std::string& name = files.Cell(row, fileset::kNameColumn);
    std::string newName =
        std::string(fileset::BaseNameOf(name)) + NewExtensionFor(name, extensionTemplate_);
    return {PlanRename(files, row, newName), false, std::move(newName)};
  }

  bool Renames() const override { return true; }

  void UpdateRow(FileList& files, int row, const FileChange& change) override {
    std::string newName = platform::EngineOf(std::get<RenameChange>(change).newName);
    // The new name is the old base name followed by the new extension.
    std::string type =
        newName.substr(fileset::BaseNameOf(files.Cell(row, fileset::kNameColumn)).size());
    files.SetCell(row, fileset::kNameColumn, std::move(newName));
    files.SetCell(row, fileset::kTypeColumn, std::move(type));
  }

 private:
  const std::string extensionTemplate_;
};

}  // namespace

fileset::Prepared<FileOperation> PrepareChangeExtension(const ChangeExtensionSettings& settings) {
  std::string extensionTemplate = ExtensionTemplate(settings.newExt);
  if (extensionTemplate.empty()) return fileset::Refusal{kEnterNewExtension, {}};
  return std::make_unique<ChangeExtension>(std::move(extensionTemplate));
}

fileset::RunEnd RunChangeExtension(FileList& files, const ChangeExtensionSettings& settings,
                                   platform::Host& host) {
  return RunFileOperationFrame(files, host, PrepareChangeExtension(settings));
}

}  // namespace fileops
