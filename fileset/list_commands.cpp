#include "fileset/list_commands.h"

#include <algorithm>
#include <unordered_set>

#include "fileset/batch_run.h"
#include "fileset/file_search.h"
#include "platform/engine_text.h"
#include "platform/file_system.h"
#include "platform/file_write.h"

namespace fileset {
namespace {

using platform::Counter;

// The search counter counts rows that hold files: it never goes below zero.
void TakeFromSearchCounter(platform::Host& host) {
  host.WriteCounter(Counter::Search,
                    std::max<std::int64_t>(0, host.ReadCounter(Counter::Search) - 1));
}

// Removes a marked row from the list; the empty row of the empty list holds no file.
bool RemoveFileRow(FileList& files, int row, platform::Host& host) {
  if (files.Cell(row, kNameColumn).empty()) return false;
  files.RemoveRow(row);
  TakeFromSearchCounter(host);
  return true;
}

void WriteExport(const std::vector<std::string>& lines, std::string_view message,
                 platform::Host& host, const PickExportFile& pick) {
  if (lines.empty()) return;
  const std::optional<platform::NativePath> path = pick();
  if (!path) return;
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  platform::ReplaceFileContents(*path, text);
  host.ShowInfo(std::string(message) + std::to_string(lines.size()));
}

}  // namespace

void AddFiles(FileList& files, const std::vector<platform::NativePath>& paths,
              platform::Host& host) {
  for (const platform::NativePath& path : paths) {
    std::optional<platform::DirEntry> entry = platform::ReadEntry(path);
    if (!entry) continue;
    host.ProcessMessages();
    if ((entry->attributes & ~kFileMask) != 0) continue;
    platform::AddToCounter(host, Counter::Search, 1);
    const std::string& bytes = path.bytes();
    const auto slash = bytes.rfind(platform::kPathSeparator);
    const std::string nativeFolder =
        slash == std::string::npos ? std::string() : bytes.substr(0, slash);
    std::string folder = platform::EngineOf(nativeFolder);
    NativeNames natives{KeptBytes(folder, nativeFolder),
                        KeptBytes(entry->name, entry->NativeName())};
    files.AppendFileRow(FileRowOf(std::move(folder), std::move(*entry)), std::move(natives));
  }
}

void RemoveMarkedRows(FileList& files, platform::Host& host) {
  for (int row = files.RowCount() - 1; row >= 1; --row)
    if (files.IsMarked(row)) RemoveFileRow(files, row, host);
}

std::vector<std::string> MarkedNames(const FileList& files, bool withFolders) {
  std::vector<std::string> lines;
  for (int row = 1; row < files.RowCount(); ++row) {
    if (!files.IsMarked(row)) continue;
    lines.push_back(withFolders ? files.FullPath(row) : files.Cell(row, kNameColumn));
  }
  return lines;
}

std::vector<std::string> MarkedFolders(const FileList& files) {
  std::vector<std::string> lines;
  std::unordered_set<std::string> seen;
  for (int row = 1; row < files.RowCount(); ++row) {
    if (!files.IsMarked(row)) continue;
    const std::string& folder = files.Cell(row, kFolderColumn);
    if (seen.insert(platform::ToLower(folder)).second) lines.push_back(folder);
  }
  return lines;
}

void RunExportNames(const FileList& files, platform::Host& host, const PickExportFile& pick) {
  platform::CommandScope running(host, CountMarkedRows(files));
  const bool withFolders = host.Ask(kExportWithFoldersQuestion);
  WriteExport(MarkedNames(files, withFolders), kNamesExported, host, pick);
}

void RunExportFolders(const FileList& files, platform::Host& host, const PickExportFile& pick) {
  platform::CommandScope running(host, CountMarkedRows(files));
  WriteExport(MarkedFolders(files), kFoldersExported, host, pick);
}

void RunDeleteMarkedFiles(FileList& files, platform::Host& host) {
  if (!host.Ask(kDeleteQuestion)) return;
  std::int64_t deleted = 0;
  bool stopped = false;
  {
    platform::CommandScope running(host, CountMarkedRows(files));
    std::int64_t done = 0;
    for (int row = files.RowCount() - 1; row >= 1; --row) {
      host.ProcessMessages();
      // Clicks while messages ran may have removed rows below this one.
      if (row >= files.RowCount() || !files.IsMarked(row)) continue;
      host.RunAt(done++, files.Cell(row, kNameColumn));
      if ((stopped = host.StopRequested())) break;
      if (files.Cell(row, kNameColumn).empty() || !platform::DeleteFile(files.NativeFullPath(row)))
        continue;
      RemoveFileRow(files, row, host);
      host.WriteCounter(Counter::Delete, ++deleted);
    }
  }
  if (stopped) host.ShowInfo(StoppedMessage(deleted));
}

}  // namespace fileset
