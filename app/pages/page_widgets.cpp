#include "app/pages/page_widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace app::pages {
namespace {

// Fits a few digits in the window's 12-pixel font.
constexpr int kNumberEditWidth = 44;
// Wide enough for the longest start caption, so the buttons line up page to page.
constexpr int kStartButtonWidth = 100;
// A page is about 580 x 200 pixels: spacing is kept tight, and a memo may shrink to a
// few lines of the 12-pixel font (its scroll bar shows the rest).
constexpr int kSpacing = 4;
constexpr int kMemoMinHeight = 44;

}  // namespace

QLineEdit* NewEdit(QWidget* parent, const QString& name, const QString& text, const QString& hint) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(name);
  if (!hint.isEmpty()) edit->setToolTip(hint);
  return edit;
}

QLineEdit* NewNumberEdit(QWidget* parent, const QString& name, const QString& text) {
  QLineEdit* edit = NewEdit(parent, name, text);
  edit->setFixedWidth(kNumberEditWidth);
  return edit;
}

QLineEdit* NewResultEdit(QWidget* parent, const QString& name, const QString& text) {
  QLineEdit* edit = NewEdit(parent, name, text);
  edit->setReadOnly(true);
  return edit;
}

QPlainTextEdit* NewMemo(QWidget* parent, const QString& name) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  memo->setMinimumHeight(kMemoMinHeight);
  return memo;
}

QCheckBox* NewCheck(QWidget* parent, const QString& name, const QString& caption, bool checked) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setChecked(checked);
  return box;
}

QCheckBox* NewBackupBox(QWidget* parent, const QString& name) {
  return NewCheck(parent, name, u"备份目标文件(.bak),覆盖同名文件"_s, true);
}

QRadioButton* NewRadio(QWidget* parent, const QString& name, const QString& caption,
                       const QString& hint) {
  auto* radio = new QRadioButton(caption, parent);
  radio->setObjectName(name);
  if (!hint.isEmpty()) radio->setToolTip(hint);
  return radio;
}

QButtonGroup* GroupRadios(QWidget* parent, std::initializer_list<QRadioButton*> radios,
                          QRadioButton* chosen) {
  // Radios that share a parent are auto-exclusive as a whole; an explicit group keeps
  // two groups on one page apart.
  auto* group = new QButtonGroup(parent);
  group->setExclusive(true);
  for (QRadioButton* radio : radios) group->addButton(radio);
  chosen->setChecked(true);
  return group;
}

QPushButton* NewStartButton(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setMinimumWidth(kStartButtonWidth);
  return button;
}

QLabel* NewLabel(QWidget* parent, const QString& text) { return new QLabel(text, parent); }

QLabel* NewNote(QWidget* parent, const QString& text) {
  QLabel* note = NewLabel(parent, text);
  // Notes quote template items ("${XlsTo(...)}"); never let them be read as markup.
  note->setTextFormat(Qt::PlainText);
  return note;
}

void EnableWhileTicked(QCheckBox* box, QWidget* field) {
  field->setEnabled(box->isChecked());
  // toggled, not clicked: a box ticked from code (a script, a test) must move the
  // field along too.
  QObject::connect(box, &QCheckBox::toggled, field, &QWidget::setEnabled);
}

QHBoxLayout* Row(QWidget* parent, std::initializer_list<RowItem> items, bool fill) {
  auto* row = new QHBoxLayout;
  row->setSpacing(kSpacing);
  for (const RowItem& item : items) {
    if (item.widget != nullptr) {
      row->addWidget(item.widget);
    } else {
      row->addWidget(NewLabel(parent, item.text));
    }
  }
  if (fill) row->addStretch(1);
  return row;
}

QVBoxLayout* PageColumn(QWidget* page) {
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(8, 6, 8, 6);
  column->setSpacing(kSpacing);
  return column;
}

QHBoxLayout* Footer(QCheckBox* backup, QPushButton* start) {
  auto* row = new QHBoxLayout;
  row->setSpacing(kSpacing);
  if (backup != nullptr) row->addWidget(backup);
  row->addStretch(1);
  row->addWidget(start);
  return row;
}

}  // namespace app::pages
