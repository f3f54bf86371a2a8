#include "fileops/rename_files.h"

#include "fileops/change_extension.h"
#include "fileops/name_list.h"
#include "platform/engine_text.h"
#include "platform/file_system.h"
#include "template/template_evaluator.h"

namespace fileops {

using fileset::FileList;

std::string NameTemplate(std::string_view typed) {
  return platform::ToLower(platform::TrimBlanks(typed));
}

std::string_view NameTemplateProblem(std::string_view nameTemplate) {
  if (nameTemplate.empty() || nameTemplate == "${filename}") return kEnterNewName;
  if (nameTemplate.find("${") == std::string_view::npos) return kPickVariableOrFunction;
  if (nameTemplate.find('"') != std::string_view::npos) return kNoDoubleQuotes;
  return {};
}

std::string FillRenameVariables(std::string_view nameTemplate, const fileset::FileRow& row,
                                const SequenceItem* sequence, std::string_view number) {
  const std::string& name = row[fileset::kNameColumn];
  const std::string& folder = row[fileset::kFolderColumn];
  const std::size_t separator = folder.rfind(platform::kPathSeparator);
  const std::string_view lastDir = separator == std::string::npos
                                       ? std::string_view()
                                       : std::string_view(folder).substr(separator + 1);
  std::string item =
      platform::ReplaceAllNoCase(nameTemplate, "${filename}", fileset::BaseNameOf(name));
  item = platform::ReplaceAllNoCase(item, "${createdate}",
                                    std::string_view(row[fileset::kCreatedColumn]).substr(0, 10));
  item = platform::ReplaceAllNoCase(item, "${modifydate}",
                                    std::string_view(row[fileset::kModifiedColumn]).substr(0, 10));
  item = platform::ReplaceAllNoCase(item, "${lastdir}", lastDir);
  if (sequence != nullptr) item = platform::ReplaceAllNoCase(item, sequence->item, number);
  return item;
}

void RunRename(FileList& files, const RenameSettings& settings, platform::Host& host) {
  const std::string_view typed = platform::TrimBlanks(settings.newFilename);
  const std::string nameTemplate = NameTemplate(typed);
  if (const std::string_view problem = NameTemplateProblem(nameTemplate); !problem.empty()) {
    host.ShowError(problem);
    return;
  }
  {
    platform::CommandScope running(host);
    host.WriteCounter(platform::Counter::Change, 0);
    const std::optional<SequenceItem> sequence = ReadSequenceItem(nameTemplate);
    const NameList list = LoadNameList(typed, settings.programFolder);
    std::int64_t counter = sequence ? sequence->start : 0;
    for (int row = 1; row < files.RowCount(); ++row) {
      if (!files.IsMarked(row)) continue;
      const std::string name = files.Cell(row, fileset::kNameColumn);
      const std::string_view base = fileset::BaseNameOf(name);
      std::string item;
      if (list.mode == ListMode::None) {
        const std::string number = sequence ? ZeroFill(counter++, sequence->width) : std::string();
        item = FillRenameVariables(nameTemplate, files.Row(row), sequence ? &*sequence : nullptr,
                                   number);
      } else {
        std::optional<std::string> listed = ListedBaseName(list, row, base);
        if (!listed) break;  // the list has no line for this row: the run ends here
        item = std::move(*listed);
      }
      std::string newName = tmpl::EvalTemplate(base, item);
      newName += fileset::ExtensionOf(name);
      if (newName == name) continue;  // same folder, so the same path: nothing to do
      if (!platform::RenameNoReplace(files.Cell(row, fileset::kFolderColumn), name, newName))
        continue;
      files.SetCell(row, fileset::kNameColumn, std::move(newName));
      platform::AddToCounter(host, platform::Counter::Change, 1);
    }
  }
  host.ShowInfo(std::string(kFilesProcessed) +
                std::to_string(host.ReadCounter(platform::Counter::Change)));
}

}  // namespace fileops
