#include "fileset/batch_run.h"

#include <set>
#include <string>

#include "platform/file_identity.h"

namespace fileset {

void RunMarkedRows(FileList& files, platform::Host& host, const MarkedRowsRun& run) {
  {
    platform::CommandScope running(host);
    run.begin();
    std::set<platform::FileIdentity> seen;
    for (int row = 1; row < files.RowCount(); ++row) {
      host.ProcessMessages();
      if (row >= files.RowCount() || !files.IsMarked(row)) continue;
      const std::string path = files.FullPath(row);
      if (const auto identity = platform::IdentityOf(path);
          identity && !seen.insert(*identity).second)
        continue;
      if (!run.visit(row)) break;
      if (run.visitMakesNewFile)
        if (const auto identity = platform::IdentityOf(path)) seen.insert(*identity);
    }
  }
  std::string text(run.closing);
  text += std::to_string(host.ReadCounter(platform::Counter::Change));
  text += run.unit;
  if (run.furtherLine)
    if (const std::string line = run.furtherLine(); !line.empty()) text += "\n" + line;
  host.ShowInfo(text);
}

}  // namespace fileset
