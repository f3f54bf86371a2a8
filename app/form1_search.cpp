// The search box: the search itself, its stop button, the folder picker and the filters.

#include <QApplication>

#include "app/engine_qstring.h"
#include "app/form1.h"
#include "fileset/file_search.h"
#include "platform/file_time.h"

namespace app {

// The window's side of one search. A later search started while this one lets messages
// run takes over the stop flag, so this one ends at its next entry.
class TForm1::Search : public fileset::SearchControls {
 public:
  explicit Search(TForm1& form) : form_(form), generation_(++form.searchGeneration_) {}

  fileset::SearchFilters ReadFilters() override {
    fileset::SearchFilters filters;
    filters.minSize = fileset::ParseSizeBound(ToEngine(form_.edMin->text()));
    filters.maxSize = fileset::ParseSizeBound(ToEngine(form_.edMax->text()));
    filters.bySize = form_.ckFileSize->isChecked();
    filters.byDate = form_.ckFileDate->isChecked();
    filters.dateKind =
        static_cast<fileset::DateKind>(std::max(0, form_.cbDateType->currentIndex()));
    const QDate from = form_.dtMin->date();
    const QDate to = form_.dtMax->date();
    filters.minDay = platform::DayNumber(from.year(), from.month(), from.day());
    filters.maxDay = platform::DayNumber(to.year(), to.month(), to.day());
    filters.subfolders = form_.ckSub->isChecked();
    return filters;
  }

  bool StopRequested() override {
    return form_.StopSearch || generation_ != form_.searchGeneration_;
  }

  void SetSearching(bool searching) override {
    if (searching) {
      form_.cbSearch->setEnabled(false);
      form_.btnStopSearch->setEnabled(true);
      form_.StopSearch = false;
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
      if (generation_ == form_.searchGeneration_) {
        form_.cbSearch->setEnabled(true);
        form_.btnStopSearch->setEnabled(false);
      }
    }
  }

 private:
  TForm1& form_;
  unsigned generation_;
};

void TForm1::cbSearchClick() {
  RunCommand(nullptr, [this] {
    Search search(*this);
    fileset::RunSearch(files_, ToEngine(edFolder->text()), ToEngine(cmbFileType->currentText()),
                       search, host_);
  });
}

void TForm1::btnStopSearchClick() {
  StopSearch = true;
  cbSearch->setEnabled(true);
  btnStopSearch->setEnabled(false);
}

void TForm1::btnOpenClick() {
  if (const auto folder = dialogs_.PickFolder(QStringLiteral("请选择搜索目录")))
    edFolder->setText(*folder);
}

void TForm1::ckFileSizeClick() {
  edMin->setEnabled(ckFileSize->isChecked());
  edMax->setEnabled(ckFileSize->isChecked());
}

void TForm1::ckFileDateClick() {
  const bool on = ckFileDate->isChecked();
  dtMin->setEnabled(on);
  dtMax->setEnabled(on);
  cbDateType->setEnabled(on);
}

}  // namespace app
