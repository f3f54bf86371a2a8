#pragma once

#include "fileset/file_list.h"
#include "platform/collation.h"

namespace fileset {

// Sorts the data rows by one column; marks stay at their positions.
// Size column: by the whole 64-bit size, rows of equal size keep their order.
// Other columns: by the lower-cased key "cell.row" (folder and type: "cell/name.row"),
// compared by the collator, so equal cells are ordered by the row number compared as
// text, and folders and types first by the file name.
void SortFileList(FileList& files, int column, bool ascending, const platform::Collator& collator);

}  // namespace fileset
