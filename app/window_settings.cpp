#include "app/window_settings.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTimeEdit>
#include <initializer_list>
#include <memory>
#include <optional>

#include "app/form1.h"
#include "app/settings_file.h"

namespace app {
namespace {

const QString kFieldsGroup = QStringLiteral("fields");
const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kSplitterKey = QStringLiteral("window/splitter");

// Every control under `roots` (the roots included) that has a name of its own; Qt's inner
// widgets (the edit inside a date picker, "qt_spinbox_lineedit") are not fields.
QList<QWidget*> NamedControls(std::initializer_list<QWidget*> roots) {
  QList<QWidget*> controls;
  for (QWidget* root : roots) {
    controls << root;
    controls << root->findChildren<QWidget*>();
  }
  controls.removeIf([](const QWidget* control) {
    const QString name = control->objectName();
    return name.isEmpty() || name.startsWith(QLatin1String("qt_"));
  });
  return controls;
}

// A kept value as the settings file gives it back: text, or a number or box state
// written as text.
std::optional<QString> TextOf(const QVariant& value) {
  if (value.typeId() != QMetaType::QString) return std::nullopt;
  return value.toString();
}

std::optional<int> NumberOf(const QVariant& value) {
  if (value.typeId() == QMetaType::Int) return value.toInt();
  bool ok = false;
  const int number = TextOf(value).value_or(QString()).toInt(&ok);
  return ok ? std::optional<int>(number) : std::nullopt;
}

// Strict: a text that is neither "true" nor "false" is no box state.
std::optional<bool> TickOf(const QVariant& value) {
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  const std::optional<QString> text = TextOf(value);
  if (text == QLatin1String("true")) return true;
  if (text == QLatin1String("false")) return false;
  return std::nullopt;
}

// The value to keep of one control; nothing for a control that is not a field.
std::optional<QVariant> ValueOf(const QWidget* control) {
  if (const auto* edit = qobject_cast<const QLineEdit*>(control))
    return edit->isReadOnly() ? std::nullopt : std::optional<QVariant>(edit->text());
  if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control))
    return memo->isReadOnly() ? std::nullopt : std::optional<QVariant>(memo->toPlainText());
  if (const auto* combo = qobject_cast<const QComboBox*>(control))
    return combo->isEditable() ? QVariant(combo->currentText()) : QVariant(combo->currentIndex());
  if (const auto* box = qobject_cast<const QCheckBox*>(control)) return box->isChecked();
  if (const auto* radio = qobject_cast<const QRadioButton*>(control)) return radio->isChecked();
  if (const auto* picker = qobject_cast<const QDateEdit*>(control))
    return picker->date().toString(Qt::ISODate);
  if (const auto* picker = qobject_cast<const QTimeEdit*>(control))
    return picker->time().toString(Qt::ISODate);
  if (const auto* spin = qobject_cast<const QSpinBox*>(control)) return spin->value();
  return std::nullopt;
}

// Sets one control to a kept value, when it can take it. Only the value is set: no click
// handler runs (a box set here does not click itself).
void Restore(QWidget* control, const QVariant& value) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    if (const auto text = TextOf(value); text && !edit->isReadOnly()) edit->setText(*text);
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
    if (const auto text = TextOf(value); text && !memo->isReadOnly()) memo->setPlainText(*text);
  } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
    if (combo->isEditable()) {
      if (const auto text = TextOf(value)) combo->setEditText(*text);
    } else if (const auto index = NumberOf(value);
               index && *index >= 0 && *index < combo->count()) {
      combo->setCurrentIndex(*index);
    }
  } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
    if (const auto ticked = TickOf(value)) box->setChecked(*ticked);
  } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
    // Choosing the kept radio of a group clears the others; a radio cannot be cleared
    // on its own.
    if (TickOf(value) == true) radio->setChecked(true);
  } else if (auto* picker = qobject_cast<QDateEdit*>(control)) {
    const QDate date = QDate::fromString(TextOf(value).value_or(QString()), Qt::ISODate);
    if (date.isValid() && date >= picker->minimumDate() && date <= picker->maximumDate())
      picker->setDate(date);
  } else if (auto* picker = qobject_cast<QTimeEdit*>(control)) {
    const QTime time = QTime::fromString(TextOf(value).value_or(QString()), Qt::ISODate);
    if (time.isValid() && time >= picker->minimumTime() && time <= picker->maximumTime())
      picker->setTime(time);
  } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
    if (const auto number = NumberOf(value);
        number && *number >= spin->minimum() && *number <= spin->maximum())
      spin->setValue(*number);
  }
}

}  // namespace

void SaveFields(QSettings& settings, std::initializer_list<QWidget*> roots) {
  for (const QWidget* control : NamedControls(roots))
    if (const std::optional<QVariant> value = ValueOf(control))
      settings.setValue(control->objectName(), *value);
}

void RestoreFields(const QSettings& settings, std::initializer_list<QWidget*> roots) {
  for (QWidget* control : NamedControls(roots)) {
    const QVariant value = settings.value(control->objectName());
    if (value.isValid()) Restore(control, value);
  }
}

void TForm1::SaveWindowSettings() {
  const std::unique_ptr<QSettings> settings = OpenSettingsFile();
  // Written afresh, so that fields no longer in the window leave the file.
  settings->remove(kFieldsGroup);
  settings->beginGroup(kFieldsGroup);
  SaveFields(*settings, {GroupBox7, cmbOpt, pgcOne});
  settings->endGroup();
  settings->setValue(kGeometryKey, saveGeometry());
  settings->setValue(kSplitterKey, Splitter1->saveState());
}

void TForm1::RestoreWindowSettings() {
  const std::unique_ptr<QSettings> settings = OpenSettingsFile();
  settings->beginGroup(kFieldsGroup);
  RestoreFields(*settings, {GroupBox7, cmbOpt, pgcOne});
  settings->endGroup();
  // What a person's clicks would have done besides setting the values: the filter
  // fields follow their boxes, and the kept mode shows its page.
  ckFileSizeClick();
  ckFileDateClick();
  cmbOptChange();
  // Data that does not read back as a geometry or a splitter state leaves the default.
  restoreGeometry(settings->value(kGeometryKey).toByteArray());
  Splitter1->restoreState(settings->value(kSplitterKey).toByteArray());
}

}  // namespace app
