#pragma once
// Renames every marked file from one template. The template is trimmed and lower-cased
// first; then each row puts in its own values (base name, dates, last folder, running
// number) or takes a line of a list file, and the template evaluator applies what is
// left to the old base name. The extension never changes, and no rename ever replaces
// a file or leaves the folder.

#include <string>
#include <string_view>

#include "fileops/file_operation_frame.h"
#include "fileset/file_list.h"
#include "platform/host.h"
#include "template/sequence_item.h"

namespace fileops {

inline constexpr std::string_view kEnterNewName = "请输入新文件名格式！";
inline constexpr std::string_view kPickVariableOrFunction =
    "新文件名格式不正确，请在左边选择变量或函数！";
inline constexpr std::string_view kNoDoubleQuotes = "新文件名格式中不需要使用双引号！";

struct RenameSettings {
  std::string newFilename;    // edtNewFilename, engine text as typed
  std::string programFolder;  // where a list file is looked for after the current directory
};

// The template of a run: trimmed of blanks and control characters, then lower-cased.
std::string NameTemplate(std::string_view typed);

// The message that refuses a template (NameTemplate's result), in the order the checks
// are made; empty when the template may run.
std::string_view NameTemplateProblem(std::string_view nameTemplate);

// The template item of one row when no list file is named: every ${filename},
// ${createdate}, ${modifydate}, ${lastdir} and then the sequence item replaced, in that
// order and letter case ignored, by the base name, the first ten characters of the
// creation and modification cells, the text after the folder's last separator and
// `number`.
std::string FillRenameVariables(std::string_view nameTemplate, const fileset::FileRow& row,
                                const tmpl::SequenceItem* sequence, std::string_view number);

// The page's checks (NameTemplateProblem). Once the run has begun, the sequence item is
// read (a bad running-number argument throws CommandError before any file is touched)
// and the list file the template names is loaded. Each marked row is renamed to its new base name
// and its old extension, never replacing an existing file or leaving the folder; a renamed row gets
// its new name cell. In a list mode the run ends at the first row the list has no line
// for.
fileset::Prepared<FileOperation> PrepareRename(const RenameSettings& settings);

// The run over the marked rows (the precondition check has passed).
fileset::RunEnd RunRename(fileset::FileList& files, const RenameSettings& settings,
                          platform::Host& host);

}  // namespace fileops
