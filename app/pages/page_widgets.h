#pragma once
// Small builders shared by the mode pages, so that every page names its controls, sizes
// its number fields and lays out its backup box and start button the same way.

#include <QString>
#include <initializer_list>

QT_BEGIN_NAMESPACE
class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QWidget;
QT_END_NAMESPACE

namespace app::pages {

// A single-line edit. `hint` becomes the tool tip.
QLineEdit* NewEdit(QWidget* parent, const QString& name, const QString& text = {},
                   const QString& hint = {});
// A narrow edit for a small number ("1", "2", ...).
QLineEdit* NewNumberEdit(QWidget* parent, const QString& name, const QString& text);
// A read-only edit that shows a result.
QLineEdit* NewResultEdit(QWidget* parent, const QString& name, const QString& text);
// A multi-line memo; it takes the height its page leaves over.
QPlainTextEdit* NewMemo(QWidget* parent, const QString& name);

QCheckBox* NewCheck(QWidget* parent, const QString& name, const QString& caption, bool checked);
// The ".bak" box of the content pages, ticked.
QCheckBox* NewBackupBox(QWidget* parent, const QString& name);
QRadioButton* NewRadio(QWidget* parent, const QString& name, const QString& caption,
                       const QString& hint = {});
// Makes `radios` one exclusive group owned by `parent` and chooses `chosen`.
QButtonGroup* GroupRadios(QWidget* parent, std::initializer_list<QRadioButton*> radios,
                          QRadioButton* chosen);
QPushButton* NewStartButton(QWidget* parent, const QString& name, const QString& caption);

// An unnamed label; a "\n" in `text` breaks the line.
QLabel* NewLabel(QWidget* parent, const QString& text);
// A page note (one or more lines), as a plain label.
QLabel* NewNote(QWidget* parent, const QString& text);

// Keeps `field` enabled exactly while `box` is ticked, however the box changes.
void EnableWhileTicked(QCheckBox* box, QWidget* field);

// One entry of a row: a control, or a text that becomes a plain label. Implicit, so a
// row reads as the list of what stands in it.
struct RowItem {
  RowItem(QWidget* w) : widget(w) {}
  RowItem(const QString& t) : text(t) {}
  QWidget* widget = nullptr;
  QString text;
};

// Lays the items out from left to right. With `fill`, the row ends with a stretch so the
// items keep their natural widths; without it, expanding items (edits) take the space.
QHBoxLayout* Row(QWidget* parent, std::initializer_list<RowItem> items, bool fill = true);

// The page's outer layout: a compact column with the page's margins.
QVBoxLayout* PageColumn(QWidget* page);
// The last row of a page: the backup box (may be null) on the left, the start button on
// the right.
QHBoxLayout* Footer(QCheckBox* backup, QPushButton* start);

}  // namespace app::pages
