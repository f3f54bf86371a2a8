#include "fileset/list_marks.h"

namespace fileset {

void MarkAll(FileList& files) {
  for (int row = 1; row < files.RowCount(); ++row) files.SetMark(row, true);
}

void UnmarkAll(FileList& files) {
  for (int row = 1; row < files.RowCount(); ++row) files.SetMark(row, false);
}

void InvertMarks(FileList& files) {
  for (int row = 1; row < files.RowCount(); ++row) files.FlipMark(row);
}

}  // namespace fileset
