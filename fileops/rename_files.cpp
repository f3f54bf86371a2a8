#include "fileops/rename_files.h"

#include "fileops/name_list.h"
#include "platform/decimal.h"
#include "platform/engine_text.h"
#include "platform/file_system.h"
#include "template/sequence_item.h"
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
                                const tmpl::SequenceItem* sequence, std::string_view number) {
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
  if (sequence != nullptr) item = platform::ReplaceAllNoCase(item, sequence->text, number);
  return item;
}

namespace {

class RenameFiles final : public FileOperation {
 public:
  RenameFiles(std::string typed, std::string nameTemplate, std::string programFolder)
      : typed_(std::move(typed)),
        nameTemplate_(std::move(nameTemplate)),
        programFolder_(std::move(programFolder)) {}

  void Begin() override {
    sequence_ = tmpl::ReadSequenceItem(nameTemplate_);
    counter_ = sequence_ ? sequence_->start : 0;
    list_ = LoadNameList(typed_, programFolder_);
  }

  RowPlan PlanRow(const FileList& files, int row) override {
    const std::string& name = files.Cell(row, fileset::kNameColumn);
    const std::string_view base = fileset::BaseNameOf(name);
    std::string item;
    if (list_.mode == ListMode::None) {
      // Every marked row takes a number, whether its rename then succeeds or not.
      const std::string number =
          sequence_ ? platform::ZeroFilled(counter_++, sequence_->width) : std::string();
      item = FillRenameVariables(nameTemplate_, files.Row(row), sequence_ ? &*sequence_ : nullptr,
                                 number);
    } else {
      std::optional<std::string> listed = ListedBaseName(list_, row, base);
      if (!listed) return {std::nullopt, true};  // the list has no line for this row
      item = std::move(*listed);
    }
    std::string newName = tmpl::EvalTemplate(base, item);
    newName += fileset::ExtensionOf(name);
    return {PlanRename(files, row, newName), false, std::move(newName)};
  }

  bool Renames() const override { return true; }

  void UpdateRow(FileList& files, int row, const FileChange& change) override {
    files.SetCell(row, fileset::kNameColumn,
                  platform::EngineOf(std::get<RenameChange>(change).newName));
  }

 private:
  const std::string typed_;  // trimmed, not lower-cased: a list file's path keeps its case
  const std::string nameTemplate_;
  const std::string programFolder_;
  std::optional<tmpl::SequenceItem> sequence_;
  NameList list_;
  std::int64_t counter_ = 0;
};

}  // namespace

fileset::Prepared<FileOperation> PrepareRename(const RenameSettings& settings) {
  const std::string_view typed = platform::TrimBlanks(settings.newFilename);
  std::string nameTemplate = NameTemplate(typed);
  if (const std::string_view problem = NameTemplateProblem(nameTemplate); !problem.empty())
    return fileset::Refusal{problem, {}};
  return std::make_unique<RenameFiles>(std::string(typed), std::move(nameTemplate),
                                       settings.programFolder);
}

fileset::RunEnd RunRename(FileList& files, const RenameSettings& settings, platform::Host& host) {
  return RunFileOperationFrame(files, host, PrepareRename(settings));
}

}  // namespace fileops
