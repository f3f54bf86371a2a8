// The mode chooser and the start buttons of the batch modes.

#include "app/form1.h"
#include "platform/journal.h"

namespace app {

void TForm1::cmbOptChange() { ShowModePage(cmbOpt->currentIndex(), -1); }

void TForm1::ShowModePage(int first, int second) {
  for (int page = 0; page < pgcOne->count(); ++page)
    pgcOne->setTabVisible(page, page == first || page == second);
  if (first >= 0 && first < pgcOne->count()) pgcOne->setCurrentIndex(first);
  // A page that writes nothing has nothing to preview.
  if (btnPreview != nullptr && first >= 0 && static_cast<std::size_t>(first) < ModeTable().size())
    btnPreview->setEnabled(ModeTable()[static_cast<std::size_t>(first)].preview.rows != nullptr);
}

void TForm1::StartButtonClick(int mode) {
  const ModeEntry& entry = ModeTable()[static_cast<std::size_t>(mode)];
  RunCommand(modePages_[static_cast<std::size_t>(mode)].start, [this, &entry] {
    if (!CheckRunPrecondition() || entry.start == nullptr) return;
    // Every change the run makes is recorded first, so that it can be undone.
    const platform::JournalScope journal(entry.entry);
    FocusControl(entry.start(pages_, files_, host_).focus);
  });
  UpdateUndoButton();
}

void TForm1::btnPreviewClick() {
  const int mode = cmbOpt->currentIndex();
  if (mode < 0 || static_cast<std::size_t>(mode) >= ModeTable().size()) return;
  const ModeEntry& entry = ModeTable()[static_cast<std::size_t>(mode)];
  if (entry.preview.rows == nullptr) return;
  bool start = false;
  RunCommand(btnPreview, [&] {
    if (!CheckRunPrecondition()) return;
    const fileset::Preview preview = entry.preview.rows(pages_, files_, host_);
    if (preview.refused) {
      FocusControl(preview.focus);
      return;
    }
    Dialogs::RowDifferences differences;
    if (entry.preview.differences != nullptr)
      differences = [this, &entry](int row) {
        return entry.preview.differences(pages_, files_, host_, row);
      };
    start = dialogs_.ShowPreview(preview, differences);
  });
  if (start) StartButtonClick(mode);
}

content::LineDiff TForm1::PreviewDifferences(int row) {
  const int mode = cmbOpt->currentIndex();
  if (mode < 0 || static_cast<std::size_t>(mode) >= ModeTable().size()) return {};
  const ModeEntry& entry = ModeTable()[static_cast<std::size_t>(mode)];
  content::LineDiff diff;
  if (entry.preview.differences == nullptr) return diff;
  RunCommand(btnPreview, [&] {
    if (CheckRunPrecondition()) diff = entry.preview.differences(pages_, files_, host_, row);
  });
  return diff;
}

void TForm1::FocusControl(std::string_view objectName) {
  if (objectName.empty()) return;
  const QString name =
      QString::fromUtf8(objectName.data(), static_cast<qsizetype>(objectName.size()));
  if (auto* control = findChild<QWidget*>(name)) control->setFocus(Qt::OtherFocusReason);
}

QLineEdit* TForm1::TemplateEdit(int pageIndex) const {
  if (pageIndex < 0 || static_cast<std::size_t>(pageIndex) >= modePages_.size()) return nullptr;
  return modePages_[static_cast<std::size_t>(pageIndex)].templateEdit;
}

}  // namespace app
