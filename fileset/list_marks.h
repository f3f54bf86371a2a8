#pragma once

#include "fileset/file_list.h"

namespace fileset {

// Mark, unmark or invert every data row; marks beyond the last row stay as they are.
void MarkAll(FileList& files);
void UnmarkAll(FileList& files);
void InvertMarks(FileList& files);

}  // namespace fileset
