// The variable catalogue: cmbVar's entries and the text that picking one inserts.

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>

#include "app/engine_qstring.h"
#include "app/form1.h"
#include "template/catalogue.h"

namespace app {
namespace {

// A line edit drops its selection when the focus leaves it, and a person picking from
// cmbVar has just moved the focus there from the template edit. This child of a
// template edit notes the selection as the focus leaves, before the edit drops it, so
// the pick can still replace what was selected.
class KeptSelection : public QObject {
 public:
  explicit KeptSelection(QLineEdit* edit) : QObject(edit), edit_(edit) {
    edit->installEventFilter(this);
  }

  static KeptSelection* Of(QLineEdit* edit) {
    for (QObject* child : edit->children())
      if (auto* kept = dynamic_cast<KeptSelection*>(child)) return kept;
    return nullptr;
  }

  struct Span {
    int start = 0;
    int length = 0;
  };

  // The edit's own selection while it has one; otherwise the one it had when the focus
  // last left it, as long as its text is still the same; otherwise none.
  Span Selection() const {
    if (edit_->hasSelectedText()) return {edit_->selectionStart(), edit_->selectionLength()};
    if (kept_.length > 0 && keptText_ == edit_->text()) return kept_;
    return {};
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == edit_) {
      if (event->type() == QEvent::FocusOut) {
        kept_ = {edit_->selectionStart(), edit_->selectionLength()};
        keptText_ = edit_->text();
      } else if (event->type() == QEvent::FocusIn) {
        kept_ = {};  // the edit's own selection holds again
      }
    }
    return false;
  }

 private:
  QLineEdit* edit_;
  Span kept_;
  QString keptText_;
};

// Engine bytes taken by the first `length` UTF-16 units of `text`.
std::size_t EngineLength(const QString& text, int length) {
  return ToEngine(text.left(length)).size();
}

}  // namespace

void TForm1::FillCatalogue() {
  for (const tmpl::CatalogueEntry& entry : tmpl::CatalogueEntries())
    cmbVar->addItem(
        QString::fromUtf8(entry.text.data(), static_cast<qsizetype>(entry.text.size())));
  cmbVar->setCurrentIndex(-1);  // nothing picked yet, so picking any entry is a change
  for (int page = 0; page < pgcOne->count(); ++page)
    if (QLineEdit* edit = TemplateEdit(page)) new KeptSelection(edit);
}

void TForm1::cmbVarChange() {
  const auto entries = tmpl::CatalogueEntries();
  const int index = cmbVar->currentIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return;
  const std::string_view inserted = entries[static_cast<std::size_t>(index)].inserted;
  const QString insert =
      QString::fromUtf8(inserted.data(), static_cast<qsizetype>(inserted.size()));

  QLineEdit* edit = TemplateEdit(pgcOne->currentIndex());
  if (edit == nullptr) {
    QGuiApplication::clipboard()->setText(insert);
    return;
  }

  // The edit's positions count UTF-16 units and the core's count engine bytes; both
  // ends of a span are character boundaries, so converting the text before each one
  // gives its byte position, and back.
  const QString text = edit->text();
  KeptSelection::Span selection;
  if (const KeptSelection* kept = KeptSelection::Of(edit)) selection = kept->Selection();
  const std::size_t selectionStart = EngineLength(text, selection.start);
  const tmpl::CatalogueInsertion result = tmpl::InsertCatalogueText(
      ToEngine(text), EngineLength(text, edit->cursorPosition()), selectionStart,
      EngineLength(text, selection.start + selection.length) - selectionStart, ToEngine(insert));

  edit->setText(FromEngine(result.text));
  edit->setCursorPosition(
      static_cast<int>(FromEngine(std::string_view(result.text).substr(0, result.caret)).size()));
  edit->setFocus(Qt::OtherFocusReason);
}

}  // namespace app
