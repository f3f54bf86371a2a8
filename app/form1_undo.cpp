// Undoing batch runs from the journal.

#include "app/form1.h"
#include "fileset/undone_rows.h"
#include "platform/journal_undo.h"

namespace app {

void TForm1::UpdateUndoButton() {
  if (btnUndo != nullptr) btnUndo->setEnabled(platform::LatestUndoable().has_value());
}

void TForm1::btnUndoClick() {
  RunCommand(btnUndo, [this] {
    const std::optional<platform::JournalRun> run = platform::LatestUndoable();
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
