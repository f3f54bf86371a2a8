#include "fileops/change_extension.h"

#include "platform/engine_text.h"
#include "platform/file_system.h"

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

void RunChangeExtension(FileList& files, const ChangeExtensionSettings& settings,
                        platform::Host& host) {
  const std::string extensionTemplate = ExtensionTemplate(settings.newExt);
  if (extensionTemplate.empty()) {
    host.ShowError(kEnterNewExtension);
    return;
  }
  {
    platform::CommandScope running(host);
    host.WriteCounter(platform::Counter::Change, 0);
    for (int row = 1; row < files.RowCount(); ++row) {
      if (!files.IsMarked(row)) continue;
      const std::string& name = files.Cell(row, fileset::kNameColumn);
      std::string newExtension = NewExtensionFor(name, extensionTemplate);
      std::string newName = std::string(fileset::BaseNameOf(name)) + newExtension;
      if (newName == name) continue;  // same folder, so the same path: nothing to do
      if (!platform::RenameNoReplace(files.Cell(row, fileset::kFolderColumn), name, newName))
        continue;
      files.SetCell(row, fileset::kNameColumn, std::move(newName));
      files.SetCell(row, fileset::kTypeColumn, std::move(newExtension));
      platform::AddToCounter(host, platform::Counter::Change, 1);
    }
  }
  host.ShowInfo(std::string(kFilesProcessed) +
                std::to_string(host.ReadCounter(platform::Counter::Change)));
}

}  // namespace fileops
