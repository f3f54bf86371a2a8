#include "app/qt_dialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "app/form1.h"
#include "app/preview_dialog.h"

namespace app {

void QtDialogs::ShowError(const QString& text) {
  QMessageBox::critical(parent_, kWindowCaption, text);
}

void QtDialogs::ShowInfo(const QString& text) {
  QMessageBox::information(parent_, kWindowCaption, text);
}

bool QtDialogs::Ask(const QString& text) {
  return QMessageBox::question(parent_, kWindowCaption, text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

void QtDialogs::ShowException(const QString& text) {
  QMessageBox::critical(parent_, kWindowCaption, text);
}

void QtDialogs::ShowErrorTitled(const QString& title, const QString& text) {
  QMessageBox::critical(parent_, title, text);
}

bool QtDialogs::ShowPreview(const fileset::Preview& preview, const RowDifferences& differences) {
  return ShowPreviewDialog(parent_, preview, differences);
}

std::optional<QString> QtDialogs::PickFolder(const QString& title) {
  const QString folder = QFileDialog::getExistingDirectory(parent_, title, QString());
  if (folder.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(folder);
}

QStringList QtDialogs::PickFilesToOpen(const QString& title, const QStringList& filters) {
  QFileDialog dialog(parent_, title, QStringLiteral("."));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters(filters);
  dialog.setFilter(dialog.filter() | QDir::Hidden);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

std::optional<QString> QtDialogs::PickFileToSave(const QString& filter,
                                                 const QString& defaultSuffix) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

void QtDialogs::OpenWithShell(const QString& target) {
  // A bare file name is looked up in the current directory, as the shell would.
  const QUrl url = target.contains(QStringLiteral("://"))
                       ? QUrl(target)
                       : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
  QDesktopServices::openUrl(url);
}

}  // namespace app
