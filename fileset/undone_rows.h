#pragma once
// The list after an undo: rows still in it show what was put back.

#include "fileset/file_list.h"
#include "platform/journal_undo.h"

namespace fileset {

// A row whose file a rename is undone from takes the old name; every row of a file put
// back shows its size, times and type as the disk now has them.
void ShowUndone(FileList& files, const platform::UndoResult& undone);

}  // namespace fileset
