#include "content/content_frame.h"

#include "platform/error.h"
#include "platform/file_write.h"

namespace content {

bool CopyToBackup(std::string_view path, std::string_view bytes) {
  std::string backup(path);
  backup.append(".bak");
  try {
    // A read-only copy is refused, as the system of the users refuses it (root could
    // write over it anyway).
    platform::WriteCopy(path, backup, bytes);
    return true;
  } catch (const platform::CommandError&) {
    return false;  // a backup that cannot be made does not stop the run
  }
}

void RunContentFrame(fileset::FileList& files, platform::Host& host, Backup backup,
                     ContentMode& mode) {
  {
    platform::CommandScope running(host);
    mode.SetUp();
    host.WriteCounter(platform::Counter::Change, 0);
    for (int row = 1; row < files.RowCount(); ++row) {
      host.ProcessMessages();
      if (row >= files.RowCount() || !files.IsMarked(row)) continue;
      const FileContext file{row, files.FullPath(row), files.Cell(row, fileset::kNameColumn)};
      const LineList source = LineList::Load(file.fullPath);
      // The output goes straight into the save's temporary sibling, so a large file is
      // never held twice; the file itself is replaced only at Commit, after the backup
      // copy has taken its unchanged bytes.
      LineFileWriter output(file.fullPath);
      if (mode.Build(file, source, output) == FileResult::Leave) continue;
      // Changed by another program while it was read (or copied): neither the output
      // nor a backup made of it is that file's text.
      if (!source.Intact()) platform::ThrowCannotOpen(file.fullPath);
      if (backup == Backup::Yes && CopyToBackup(file.fullPath, source.text()) &&
          !source.Intact()) {
        platform::DeleteFile(file.fullPath + ".bak");
        platform::ThrowCannotOpen(file.fullPath);
      }
      output.Commit();
      platform::AddToCounter(host, platform::Counter::Change, 1);
    }
  }
  std::string closing(kClosingBefore);
  closing += std::to_string(host.ReadCounter(platform::Counter::Change));
  closing += mode.ClosingUnit();
  host.ShowInfo(closing);
}

}  // namespace content
