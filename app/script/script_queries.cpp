// The commands that print what the window shows (`get`, `dump`, `preview-diff`), and
// finding controls.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <optional>

#include "app/engine_qstring.h"
#include "app/script/script_executor.h"
#include "fileset/file_list.h"

namespace app::script {
namespace {

// Control names are the window's own; the toolkit names some inner widgets "qt_...".
bool IsControlName(const QString& name) {
  return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

QString Flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

// What `get NAME` shows of a control; nothing for a control without a text or state.
std::optional<QString> ValueOf(QWidget* control) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
  if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText();
  if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) return memo->toPlainText();
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* box = qobject_cast<QCheckBox*>(control)) return Flag(box->isChecked());
  if (auto* radio = qobject_cast<QRadioButton*>(control)) return Flag(radio->isChecked());
  if (auto* date = qobject_cast<QDateEdit*>(control))
    return date->date().toString(QStringLiteral("yyyy-MM-dd"));
  if (auto* time = qobject_cast<QTimeEdit*>(control))
    return time->time().toString(QStringLiteral("HH:mm:ss"));
  if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
  return std::nullopt;
}

QString VisibleTabs(const QTabWidget* tabs) {
  QStringList captions;
  for (int index = 0; index < tabs->count(); ++index) {
    if (tabs->isTabVisible(index)) captions.append(tabs->tabText(index));
  }
  return captions.join(QLatin1Char('|'));
}

}  // namespace

QWidget* Executor::Control(const Command& command, const QString& name) const {
  QWidget* control = IsControlName(name) ? form_.findChild<QWidget*>(name) : nullptr;
  if (control == nullptr)
    throw ScriptError(command.line, QStringLiteral("unknown control \"%1\"").arg(name));
  return control;
}

QString Executor::FocusName() const {
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) focus = form_.focusWidget();
  // An inner widget (a combo box's edit, a picker's edit) answers for its control.
  while (focus != nullptr && !IsControlName(focus->objectName())) focus = focus->parentWidget();
  return focus != nullptr ? focus->objectName() : QString();
}

void Executor::Get(const Command& command) {
  const QString what = Arguments(command, 1, 1, "get NAME[.enabled|.hint|.tabs]")[0];
  QString value;
  if (what == QLatin1String("focus")) {
    value = FocusName();
  } else if (what == QLatin1String("clipboard")) {
    value = QGuiApplication::clipboard()->text();
  } else if (const qsizetype dot = what.lastIndexOf(QLatin1Char('.')); dot > 0) {
    const QString name = what.left(dot);
    const QString property = what.mid(dot + 1);
    QWidget* control = Control(command, name);
    if (property == QLatin1String("enabled")) {
      value = Flag(control->isEnabled());
    } else if (property == QLatin1String("hint")) {
      value = control->toolTip();
    } else if (property == QLatin1String("tabs")) {
      auto* tabs = qobject_cast<QTabWidget*>(control);
      if (tabs == nullptr)
        throw ScriptError(command.line, QStringLiteral("%1 is not a page control").arg(name));
      value = VisibleTabs(tabs);
    } else {
      throw ScriptError(command.line, QStringLiteral("unknown property \"%1\"").arg(property));
    }
  } else {
    const std::optional<QString> shown = ValueOf(Control(command, what));
    if (!shown) {
      throw ScriptError(command.line, QStringLiteral("%1 has no text or state to get").arg(what));
    }
    value = *shown;
  }
  PrintLine(what + QLatin1Char('=') + EscapeLineBreaks(value));
}

void Executor::Dump(const Command& command) {
  Arguments(command, 0, 0, "dump");
  const fileset::FileList& files = form_.Files();
  for (int row = 0; row < files.RowCount(); ++row) {
    QStringList fields{QString::number(row), Flag(files.IsMarked(row))};
    for (int column = 0; column < fileset::kColumnCount; ++column)
      fields.append(EscapeLineBreaks(FromEngine(files.Cell(row, column))));
    PrintLine(fields.join(QLatin1Char('\t')));
  }
  for (const char* counter : {"stSrcCount", "stChangeCount", "stDeleteCount"}) {
    const QString name = QLatin1String(counter);
    const auto* label = qobject_cast<QLabel*>(Control(command, name));
    PrintLine(name + QLatin1Char('=') + (label != nullptr ? label->text() : QString()));
  }
}

void Executor::PreviewDiff(const Command& command) {
  const QStringList arguments = Arguments(command, 1, 1, "preview-diff ROW");
  const int row = ParseInteger(command, arguments[0]);
  CheckGridCell(command, row, 0, 1);
  const content::LineDiff diff = form_.PreviewDifferences(row);
  for (const std::string& line : content::UnifiedDiffLines(diff))
    PrintLine(EscapeLineBreaks(FromEngine(line)));
  if (diff.cut)
    PrintLine(QStringLiteral("[preview] 只显示前 %1 处差异").arg(content::kShownDifferences));
}

}  // namespace app::script
