#include "fileset/run_precondition.h"

namespace fileset {

bool CheckRunPrecondition(const FileList& files, platform::Host& host) {
  if (files.IsEmpty()) {
    host.ShowError(kNoSourceFiles);
    return false;
  }
  for (int row = files.RowCount() - 1; row >= 1; --row)
    if (files.IsMarked(row)) return true;
  host.ShowError(kSelectFilesFirst);
  return false;
}

}  // namespace fileset
