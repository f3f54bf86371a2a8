// The list commands under the search box: marks, adding and removing rows, exporting
// names and folders, and deleting files from disk.

#include <QDir>

#include "app/chosen_path.h"
#include "app/engine_qstring.h"
#include "app/form1.h"
#include "fileset/list_commands.h"
#include "fileset/list_marks.h"
#include "platform/journal.h"

namespace app {

void TForm1::btnSelAllClick() {
  fileset::MarkAll(files_);
  model_->Sync();
}

void TForm1::btnDeSelAllClick() {
  fileset::UnmarkAll(files_);
  model_->Sync();
}

void TForm1::btnInverseClick() {
  fileset::InvertMarks(files_);
  model_->Sync();
}

void TForm1::btnAddClick() {
  static const char* const kFilters[] = {
      "文本文件(*.txt;*.ini) (*.txt *.ini)",
      "图片文件(*.jpg;*.jpeg) (*.jpg *.jpeg)",
      "网页文件(*.htm;*.html) (*.htm *.html)",
      "ASP文件(*.asp;*.aspx) (*.asp *.aspx)",
      "JSP文件(*.jsp;*.jspf) (*.jsp *.jspf)",
      "PHP文件(*.php) (*.php)",
      "PNG文件(*.png) (*.png)",
      "GIF文件(*.gif) (*.gif)",
      "BMP文件(*.bmp) (*.bmp)",
      "所有文件(*.*) (*)",
  };
  QStringList filters;
  for (const char* filter : kFilters) filters << QString::fromUtf8(filter);
  const QStringList chosen =
      dialogs_.PickFilesToOpen(QStringLiteral("请选择需要修改属性的文件 - 添加文件"), filters);
  std::vector<platform::NativePath> paths;
  for (const QString& path : chosen) paths.push_back(ChosenPath(path));
  AddFileRows(paths);
}

void TForm1::AddFileRows(const std::vector<platform::NativePath>& paths) {
  RunCommand(nullptr, [&] { fileset::AddFiles(files_, paths, host_); });
}

void TForm1::btnDelClick() {
  RunCommand(nullptr, [this] { fileset::RemoveMarkedRows(files_, host_); });
}

fileset::PickExportFile TForm1::ExportFilePicker() {
  return [this]() -> std::optional<platform::NativePath> {
    const auto path =
        dialogs_.PickFileToSave(QStringLiteral("文本文件(*.txt)"), QStringLiteral("txt"));
    if (!path) return std::nullopt;
    return ChosenPath(*path);
  };
}

void TForm1::btnExpClick() {
  RunCommand(btnExp, [this] {
    if (CheckRunPrecondition()) fileset::RunExportNames(files_, host_, ExportFilePicker());
  });
}

void TForm1::btnExpDirClick() {
  RunCommand(btnExpDir, [this] {
    if (CheckRunPrecondition()) fileset::RunExportFolders(files_, host_, ExportFilePicker());
  });
}

namespace {

// How the journal names a delete from the list.
constexpr char kDeleteRunName[] = "删除";

}  // namespace

void TForm1::cbDelClick() {
  RunCommand(cbDel, [this] {
    if (!CheckRunPrecondition()) return;
    // The deleted files go into the journal, so that the delete can be undone.
    const platform::JournalScope journal(kDeleteRunName);
    fileset::RunDeleteMarkedFiles(files_, host_);
  });
  UpdateUndoButton();
}

}  // namespace app
