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

namespace {

// One file of the run: built into the save's temporary sibling, then committed.
void ProcessFile(const fileset::FileList& files, int row, platform::Host& host, ContentMode& mode) {
  const FileContext file{row, files.FullPath(row), files.Cell(row, fileset::kNameColumn)};
  const LineList source = LineList::Load(file.fullPath);
  // The output goes straight into the save's temporary sibling, so a large file is
  // never held twice; the file itself is replaced only at Commit, after the backup
  // copy has taken its unchanged bytes.
  LineFileWriter output(file.fullPath);
  if (mode.Build(file, source, output, host) == FileResult::Leave) return;
  // Changed by another program while it was read (or copied): neither the output nor
  // a backup made of it is that file's text.
  if (!source.Intact()) platform::ThrowCannotOpen(file.fullPath);
  if (mode.backup() == Backup::Yes && CopyToBackup(file.fullPath, source.text()) &&
      !source.Intact()) {
    platform::DeleteFile(file.fullPath + ".bak");
    platform::ThrowCannotOpen(file.fullPath);
  }
  output.Commit();
  platform::AddToCounter(host, platform::Counter::Change, 1);
}

}  // namespace

void RunContentFrame(fileset::FileList& files, platform::Host& host, ContentMode& mode) {
  const auto visit = [&](int row) {
    ProcessFile(files, row, host, mode);
    return true;
  };
  const auto begin = [&] {
    mode.Begin();
    host.WriteCounter(platform::Counter::Change, 0);
  };
  fileset::RunMarkedRows(files, host, {begin, visit, kClosingBefore, mode.ClosingUnit()});
}

fileset::RunEnd RunContentFrame(fileset::FileList& files, platform::Host& host,
                                fileset::Prepared<ContentMode> prepared) {
  return fileset::RunPrepared(std::move(prepared), host,
                              [&](ContentMode& mode) { RunContentFrame(files, host, mode); });
}

}  // namespace content
