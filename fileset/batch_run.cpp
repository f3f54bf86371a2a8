#include "fileset/batch_run.h"

#include <string>

namespace fileset {

void RunMarkedRows(FileList& files, platform::Host& host, const MarkedRowsRun& run) {
  {
    platform::CommandScope running(host);
    run.begin();
    for (int row = 1; row < files.RowCount(); ++row) {
      host.ProcessMessages();
      if (row >= files.RowCount() || !files.IsMarked(row)) continue;
      if (!run.visit(row)) break;
    }
  }
  std::string text(run.closing);
  text += std::to_string(host.ReadCounter(platform::Counter::Change));
  text += run.unit;
  host.ShowInfo(text);
}

}  // namespace fileset
