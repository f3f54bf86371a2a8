#include "content/content_frame.h"

#include "platform/error.h"
#include "platform/file_write.h"
#include "platform/rewrite_in_place.h"

namespace content {

void CopyToBackup(const platform::NativePath& path, std::string_view bytes) {
  // Without its copy the text from before the run would be lost: the file is not saved.
  // A read-only copy is refused, as the system of the users refuses it (root could write
  // over it anyway).
  platform::WriteCopy(path, platform::NativePath(path.bytes() + ".bak"), bytes);
}

FileContext ContextOf(const fileset::FileList& files, int row) {
  return {row,
          files.FullPath(row),
          files.Cell(row, fileset::kNameColumn),
          files.NativeFullPath(row),
          files.Cell(row, fileset::kCreatedColumn),
          files.Cell(row, fileset::kModifiedColumn)};
}

bool SaveRewrite(const platform::NativePath& path, const LineList& read, LineFileWriter& output,
                 Backup backup) {
  // Changed by another program while it was read (or copied): neither the output nor
  // a backup made of it is that file's text.
  if (!read.Intact()) platform::ThrowCannotOpen(path);
  // Saving what comes before a zero byte would cut the file there.
  if (read.HoldsZeroByte()) return false;
  if (backup == Backup::Yes) {
    CopyToBackup(path, read.bytes());
    if (!read.Intact()) {
      platform::DeleteFile(platform::NativePath(path.bytes() + ".bak"));
      platform::ThrowCannotOpen(path);
    }
  }
  output.Commit();
  return true;
}

namespace {

// One file of the run: built into the save's temporary sibling, then committed; false
// when the file is no text and was left alone.
bool ProcessFile(const fileset::FileList& files, int row, platform::Host& host, ContentMode& mode) {
  const FileContext file = ContextOf(files, row);
  const LineList source = LineList::Load(file.path);
  // The output goes straight into the save's temporary sibling, so a large file is
  // never held twice; the file itself is replaced only at Commit, after the backup
  // copy has taken its unchanged bytes.
  LineFileWriter output(file.path);
  if (source.HasByteOrderMark() && mode.KeepsByteOrderMark()) output.AddByteOrderMark();
  host.RunFileText(source.text());
  if (mode.Build(file, source, output, host) == FileResult::Leave) return true;
  if (!SaveRewrite(file.path, source, output, mode.backup())) return false;
  platform::AddToCounter(host, platform::Counter::Change, 1);
  return true;
}

}  // namespace

void RunContentFrame(fileset::FileList& files, platform::Host& host, ContentMode& mode) {
  std::int64_t notText = 0;
  const auto begin = [&] {
    // A rewrite that a killed run left halfway is finished before any file is read.
    platform::CompleteInterruptedRewrites();
    mode.Begin();
    host.WriteCounter(platform::Counter::Change, 0);
  };
  const auto visit = [&](int row) {
    if (!ProcessFile(files, row, host, mode)) ++notText;
    return true;
  };
  const auto furtherLine = [&] {
    std::string lines = NotTextLine(notText);
    const std::string more = mode.FurtherLines();
    if (!lines.empty() && !more.empty()) lines += "\n";
    return lines + more;
  };
  fileset::RunMarkedRows(files, host,
                         {begin,
                          visit,
                          {},
                          kClosingBefore,
                          mode.ClosingUnit(),
                          furtherLine,
                          fileset::MarkedRowsRun::SameFile::ByIdentity});
}

fileset::RunEnd RunContentFrame(fileset::FileList& files, platform::Host& host,
                                fileset::Prepared<ContentMode> prepared) {
  return fileset::RunPrepared(std::move(prepared), host,
                              [&](ContentMode& mode) { RunContentFrame(files, host, mode); });
}

}  // namespace content
