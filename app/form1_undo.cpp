// Undoing batch runs from the journal.

#include "app/form1.h"
#include "fileset/undone_rows.h"
#include "platform/journal_undo.h"

namespace app {
namespace {

// The newest run that can still be undone.
std::optional<platform::JournalRun> LastUndoable() {
  for (const platform::JournalRun& run : platform::JournalHistory())
    if (run.state != platform::RunState::Undone) return run;
  return std::nullopt;
}

}  // namespace

void TForm1::UpdateUndoButton() {
  if (btnUndo != nullptr) btnUndo->setEnabled(LastUndoable().has_value());
}

void TForm1::btnUndoClick() {
  RunCommand(btnUndo, [this] {
    const std::optional<platform::JournalRun> run = LastUndoable();
    if (!run) return;
    const std::string question =
        "撤销上一次批处理：" + run->mode + "，" + std::to_string(run->files) + " 个文件？";
    if (!host_.Ask(question)) return;
    const platform::UndoResult undone = platform::UndoRun(run->id);
    fileset::ShowUndone(files_, undone);
    host_.ShowInfo(platform::UndoMessage(undone));
  });
  UpdateUndoButton();
}

}  // namespace app
