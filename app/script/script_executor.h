#pragma once
// Carries out script commands on the main window, through its controls as a person would
// use them: typing sets an edit's text, a click runs the control's handler, a click moves
// the focus as a mouse press does.

#include <QString>

#include "app/form1.h"
#include "app/script/script_dialogs.h"
#include "app/script/script_reader.h"

namespace app::script {

class Executor {
 public:
  Executor(TForm1& form, ScriptDialogs& dialogs) : form_(form), dialogs_(dialogs) {}

  // Throws ScriptError when the command cannot be carried out.
  void Run(const Command& command);

 private:
  // Commands that act on the window (script_executor.cpp).
  void Set(const Command& command);
  void Text(const Command& command);
  void Check(const Command& command) { SetChecked(command, true); }
  void Uncheck(const Command& command) { SetChecked(command, false); }
  void SetChecked(const Command& command, bool checked);
  void Select(const Command& command);
  void Click(const Command& command);
  void Grid(const Command& command);
  void Current(const Command& command);
  void Caret(const Command& command);
  void Selection(const Command& command);
  void Answer(const Command& command);
  void Choose(const Command& command);
  void CancelDialog(const Command& command);
  void Tick(const Command& command);
  void StopAfter(const Command& command);

  // Commands that print what the window shows (script_queries.cpp).
  void Dump(const Command& command);
  void Get(const Command& command);
  void PreviewDiff(const Command& command);

  // The control named `name`; throws when the window has none.
  QWidget* Control(const Command& command, const QString& name) const;
  // The control, ready for input as a person's press would leave it: refused when
  // disabled, and focused when a click focuses it.
  void PrepareForInput(const Command& command, QWidget* control, const QString& name) const;
  // The grid cell of `row` and `column`, checked against the list; `firstRow` is 0 where
  // the header may be meant.
  void CheckGridCell(const Command& command, int row, int column, int firstRow) const;
  // The name of the control that has the focus, empty when none has.
  QString FocusName() const;

  TForm1& form_;
  ScriptDialogs& dialogs_;
};

}  // namespace app::script
