// The file grid's handlers and the run precondition check.

#include <QCloseEvent>

#include "app/form1.h"
#include "fileset/file_sort.h"
#include "fileset/run_precondition.h"
#include "platform/error.h"

namespace app {

void TForm1::RunCommand(QAbstractButton* button, const std::function<void()>& body) {
  QAbstractButton* previous = host_.SetCommandButton(button);
  try {
    body();
  } catch (const std::exception& error) {
    model_->Sync();
    dialogs_.ShowException(QString::fromUtf8(error.what()));
  } catch (...) {
    // Anything else is shown like an error without a message.
    model_->Sync();
    dialogs_.ShowException(QString());
  }
  host_.SetCommandButton(previous);
  model_->Sync();
}

bool TForm1::CheckRunPrecondition() { return fileset::CheckRunPrecondition(files_, host_); }

void TForm1::sgFilesMouseUp(int row, int column) {
  SortAscending = !SortAscending;
  if (row == 0 && column >= 0) {
    fileset::SortFileList(files_, column, SortAscending, collator_);
  }
  const QModelIndex current = sgFiles->currentIndex();
  if (current.isValid() && current.column() == fileset::kNameColumn) {
    files_.FlipMark(current.row() + 1);
  }
  model_->Sync();
}

void TForm1::ClickGridCell(int row, int column, Qt::MouseButton button) {
  if (button == Qt::LeftButton && row >= 1) SetCurrentGridCell(row, column);
  sgFilesMouseUp(row, column);
}

void TForm1::SetCurrentGridCell(int row, int column) {
  sgFiles->setCurrentIndex(model_->index(row - 1, column));
}

void TForm1::closeEvent(QCloseEvent* event) {
  // A search that lets messages run ends at its next entry instead of outliving the window.
  StopSearch = true;
  // So does a batch run, at its next safe point: the file it is saving is finished or left.
  host_.RequestStop();
  if (settingsFile_ == SettingsFile::Used) SaveWindowSettings();
  QWidget::closeEvent(event);
}

}  // namespace app
