#include "app/script/script_executor.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimeEdit>
#include <type_traits>

#include "app/link_label.h"
#include "fileset/file_list.h"

namespace app::script {
namespace {

ScriptError WrongKind(const Command& command, const QString& name, const char* expected) {
  return ScriptError(command.line,
                     QStringLiteral("%1 is not %2").arg(name, QLatin1String(expected)));
}

// The single-line edit of a control: an edit, or the edit of an editable combo box.
QLineEdit* LineEditOf(QWidget* control) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit;
  if (auto* combo = qobject_cast<QComboBox*>(control); combo != nullptr && combo->isEditable())
    return combo->lineEdit();
  return nullptr;
}

QLineEdit* LineEditArgument(const Command& command, QWidget* control, const QString& name) {
  QLineEdit* edit = LineEditOf(control);
  if (edit == nullptr) throw WrongKind(command, name, "an edit or an editable combo box");
  return edit;
}

void CheckWritable(const Command& command, bool readOnly, const QString& name) {
  if (readOnly) throw ScriptError(command.line, QStringLiteral("%1 is read-only").arg(name));
}

// Replaces the edit's text as typing over a full selection does, so the edit's signals
// for typed text fire and its validator and length limit apply.
void TypeInto(const Command& command, QLineEdit* edit, const QString& name, const QString& value) {
  edit->selectAll();
  edit->insert(value);
  if (edit->text() != value)
    throw ScriptError(command.line, QStringLiteral("%1 does not take \"%2\"").arg(name, value));
}

// A date or time as the grammar writes it (`shape`), read strictly: the pickers would
// quietly clamp or ignore anything else.
template <typename Picker, typename Value>
void SetPicker(const Command& command, Picker* picker, const QString& name, const QString& text,
               const char* pattern, const QString& format, const char* shape) {
  const Value value = Value::fromString(text, format);
  if (!QRegularExpression(QLatin1String(pattern)).match(text).hasMatch() || !value.isValid()) {
    throw ScriptError(
        command.line,
        QStringLiteral("%1 takes %2, not \"%3\"").arg(name, QLatin1String(shape), text));
  }
  if constexpr (std::is_same_v<Value, QDate>) {
    picker->setDate(value);
    if (picker->date() == value) return;
  } else {
    picker->setTime(value);
    if (picker->time() == value) return;
  }
  throw ScriptError(command.line, QStringLiteral("%1 does not take \"%2\"").arg(name, text));
}

}  // namespace

void Executor::Run(const Command& command) {
  using Handler = void (Executor::*)(const Command&);
  struct Entry {
    const char* word;
    Handler handler;
  };
  static constexpr Entry kCommands[] = {
      {"set", &Executor::Set},
      {"text", &Executor::Text},
      {"check", &Executor::Check},
      {"uncheck", &Executor::Uncheck},
      {"select", &Executor::Select},
      {"click", &Executor::Click},
      {"grid", &Executor::Grid},
      {"current", &Executor::Current},
      {"caret", &Executor::Caret},
      {"selection", &Executor::Selection},
      {"answer", &Executor::Answer},
      {"choose", &Executor::Choose},
      {"cancel-dialog", &Executor::CancelDialog},
      {"tick", &Executor::Tick},
      {"stop-after", &Executor::StopAfter},
      {"dump", &Executor::Dump},
      {"get", &Executor::Get},
      {"preview-diff", &Executor::PreviewDiff},
  };
  for (const Entry& entry : kCommands) {
    if (command.word == QLatin1String(entry.word)) {
      (this->*entry.handler)(command);
      return;
    }
  }
  throw ScriptError(command.line, QStringLiteral("unknown command \"%1\"").arg(command.word));
}

void Executor::Set(const Command& command) {
  const auto [name, value] = NameAndValue(command, "set NAME VALUE");
  QWidget* control = Control(command, name);
  if (auto* date = qobject_cast<QDateEdit*>(control)) {
    PrepareForInput(command, control, name);
    SetPicker<QDateEdit, QDate>(command, date, name, value, R"(^\d{4}-\d{2}-\d{2}$)",
                                QStringLiteral("yyyy-MM-dd"), "yyyy-mm-dd");
  } else if (auto* time = qobject_cast<QTimeEdit*>(control)) {
    PrepareForInput(command, control, name);
    SetPicker<QTimeEdit, QTime>(command, time, name, value, R"(^\d{2}:\d{2}:\d{2}$)",
                                QStringLiteral("HH:mm:ss"), "hh:nn:ss");
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
    CheckWritable(command, memo->isReadOnly(), name);
    PrepareForInput(command, control, name);
    memo->setPlainText(value);
  } else if (QLineEdit* edit = LineEditOf(control)) {
    CheckWritable(command, edit->isReadOnly(), name);
    PrepareForInput(command, control, name);
    TypeInto(command, edit, name, value);
  } else {
    throw WrongKind(command, name,
                    "an edit, an editable combo box, a memo or a date or time picker");
  }
}

void Executor::Text(const Command& command) {
  const QString name = Arguments(command, 1, 1, "text NAME")[0];
  QWidget* control = Control(command, name);
  auto* memo = qobject_cast<QPlainTextEdit*>(control);
  if (memo == nullptr) throw WrongKind(command, name, "a memo");
  CheckWritable(command, memo->isReadOnly(), name);
  PrepareForInput(command, control, name);
  // The memo keeps LF between lines; the window reads it back joined with CR LF.
  memo->setPlainText(command.block.join(QLatin1Char('\n')));
}

void Executor::SetChecked(const Command& command, bool checked) {
  const QString name = Arguments(command, 1, 1, checked ? "check NAME" : "uncheck NAME")[0];
  QWidget* control = Control(command, name);
  QAbstractButton* button = qobject_cast<QCheckBox*>(control);
  if (button == nullptr) {
    button = qobject_cast<QRadioButton*>(control);
    if (button == nullptr) throw WrongKind(command, name, "a check box or a radio button");
    if (!checked) {
      throw ScriptError(
          command.line,
          QStringLiteral("%1 is a radio button: check another one of its group").arg(name));
    }
  }
  PrepareForInput(command, control, name);
  if (button->isChecked() != checked) button->click();
}

void Executor::Select(const Command& command) {
  const QStringList arguments = Arguments(command, 2, 2, "select NAME INDEX");
  const QString& name = arguments[0];
  QWidget* control = Control(command, name);
  auto* combo = qobject_cast<QComboBox*>(control);
  if (combo == nullptr) throw WrongKind(command, name, "a combo box");
  const int index = ParseInteger(command, arguments[1]);
  if (index < 0 || index >= combo->count()) {
    throw ScriptError(
        command.line,
        QStringLiteral("%1 has no entry %2 (it has %3)").arg(name).arg(index).arg(combo->count()));
  }
  PrepareForInput(command, control, name);
  // Picking from the list changes the index and then reports the pick, as the combo
  // box does for a person; handlers listen to the report.
  combo->setCurrentIndex(index);
  emit combo->activated(index);
  emit combo->textActivated(combo->itemText(index));
}

void Executor::Click(const Command& command) {
  const QString name = Arguments(command, 1, 1, "click NAME")[0];
  QWidget* control = Control(command, name);
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    PrepareForInput(command, control, name);
    button->click();
  } else if (auto* label = dynamic_cast<LinkLabel*>(control)) {
    PrepareForInput(command, control, name);
    label->Click();
  } else {
    throw WrongKind(command, name, "a button or a clickable label");
  }
}

void Executor::Grid(const Command& command) {
  const QStringList arguments = Arguments(command, 2, 3, "grid ROW COL [right]");
  const int row = ParseInteger(command, arguments[0]);
  const int column = ParseInteger(command, arguments[1]);
  Qt::MouseButton button = Qt::LeftButton;
  if (arguments.size() == 3) {
    if (arguments[2] != QLatin1String("right"))
      throw ScriptError(command.line, QStringLiteral("usage: grid ROW COL [right]"));
    button = Qt::RightButton;
  }
  CheckGridCell(command, row, column, 0);
  PrepareForInput(command, Control(command, QStringLiteral("sgFiles")), QStringLiteral("sgFiles"));
  form_.ClickGridCell(row, column, button);
}

void Executor::Current(const Command& command) {
  const QStringList arguments = Arguments(command, 2, 2, "current ROW COL");
  const int row = ParseInteger(command, arguments[0]);
  const int column = ParseInteger(command, arguments[1]);
  CheckGridCell(command, row, column, 1);
  form_.SetCurrentGridCell(row, column);
}

void Executor::Caret(const Command& command) {
  const QStringList arguments = Arguments(command, 2, 2, "caret NAME POS");
  const QString& name = arguments[0];
  QWidget* control = Control(command, name);
  QLineEdit* edit = LineEditArgument(command, control, name);
  const int position = ParseInteger(command, arguments[1]);
  if (position < 0 || position > edit->text().size()) {
    throw ScriptError(command.line,
                      QStringLiteral("%1 has no position %2 (its text has %3 characters)")
                          .arg(name)
                          .arg(position)
                          .arg(edit->text().size()));
  }
  PrepareForInput(command, control, name);
  edit->setCursorPosition(position);
}

void Executor::Selection(const Command& command) {
  const QStringList arguments = Arguments(command, 3, 3, "selection NAME START LENGTH");
  const QString& name = arguments[0];
  QWidget* control = Control(command, name);
  QLineEdit* edit = LineEditArgument(command, control, name);
  const int start = ParseInteger(command, arguments[1]);
  const int length = ParseInteger(command, arguments[2]);
  if (start < 0 || length < 0 || start > edit->text().size() ||
      length > edit->text().size() - start) {
    throw ScriptError(
        command.line,
        QStringLiteral("%1 has no text from %2 of length %3 (its text has %4 characters)")
            .arg(name)
            .arg(start)
            .arg(length)
            .arg(edit->text().size()));
  }
  PrepareForInput(command, control, name);
  edit->setSelection(start, length);
}

void Executor::Answer(const Command& command) {
  const QString answer = Arguments(command, 1, 1, "answer yes|no")[0];
  if (answer != QLatin1String("yes") && answer != QLatin1String("no"))
    throw ScriptError(command.line, QStringLiteral("usage: answer yes|no"));
  dialogs_.QueueAnswer(answer == QLatin1String("yes"));
}

void Executor::Choose(const Command& command) {
  if (command.rest.isEmpty()) throw ScriptError(command.line, QStringLiteral("usage: choose PATH"));
  dialogs_.QueueChoice(command.rest);
}

void Executor::CancelDialog(const Command& command) {
  Arguments(command, 0, 0, "cancel-dialog");
  dialogs_.QueueCancel();
}

void Executor::Tick(const Command& command) {
  Arguments(command, 0, 0, "tick");
  form_.FireTimer1();
  // The tick is complete once a tips download it started has finished or failed and its
  // tips are shown. The download ends by itself within its timeout, and its end is an
  // event, so waiting for events cannot hang here.
  while (form_.TipsDownloadPending())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void Executor::StopAfter(const Command& command) {
  const int files = ParseInteger(command, Arguments(command, 1, 1, "stop-after N")[0]);
  if (files < 0) throw ScriptError(command.line, QStringLiteral("usage: stop-after N"));
  form_.StopAfter(files);
}

void Executor::PrepareForInput(const Command& command, QWidget* control,
                               const QString& name) const {
  if (!control->isEnabled())
    throw ScriptError(command.line, QStringLiteral("%1 is disabled").arg(name));
  if ((control->focusPolicy() & Qt::ClickFocus) != 0) control->setFocus(Qt::MouseFocusReason);
}

void Executor::CheckGridCell(const Command& command, int row, int column, int firstRow) const {
  const int rows = form_.Files().RowCount();
  if (row < firstRow || row >= rows || column < 0 || column >= fileset::kColumnCount) {
    throw ScriptError(command.line,
                      QStringLiteral("sgFiles has no cell %1 %2 (rows %3 to %4, columns 0 to %5)")
                          .arg(row)
                          .arg(column)
                          .arg(firstRow)
                          .arg(rows - 1)
                          .arg(fileset::kColumnCount - 1));
  }
}

}  // namespace app::script
