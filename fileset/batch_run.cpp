#include "fileset/batch_run.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <unordered_set>

#include "platform/file_identity.h"

namespace fileset {
namespace {

// Two 64-bit hashes of what names a row's file (its folder and name cells, and the bytes
// the list keeps where they are not the cells' UTF-8), taken without building its path:
// a set of them tells a path met before for little more than the hashing, where a set of
// the paths themselves would cost a tenth of a run that sets times. Two different paths
// agree in both hashes with a chance of about one in 2^128.
struct PathFingerprint {
  std::uint64_t a = 0;
  std::uint64_t b = 0;
  bool operator==(const PathFingerprint&) const = default;
};

struct FingerprintHash {
  std::size_t operator()(const PathFingerprint& f) const { return f.a ^ (f.b << 1); }
};

// Folds `bytes` into both hashes eight bytes at a time, then its length, so that texts
// that differ only in trailing zeros or in where one part ends differ too.
void Fold(PathFingerprint& f, std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::uint64_t word = 0;
    const std::size_t take = std::min<std::size_t>(8, bytes.size() - pos);
    std::memcpy(&word, bytes.data() + pos, take);
    pos += take;
    f.a = (f.a ^ word) * 0x100000001b3;
    f.a ^= f.a >> 32;
    f.b = (f.b + word) * 0xff51afd7ed558ccd;
    f.b ^= f.b >> 29;
  }
  f.a = (f.a ^ bytes.size()) * 0x100000001b3;
  f.b = (f.b + bytes.size()) * 0xc4ceb9fe1a85ec53;
}

PathFingerprint FingerprintOf(const FileList& files, int row) {
  PathFingerprint f{0xcbf29ce484222325, 0x9e3779b97f4a7c15};
  const NativeNames* kept = files.KeptNativeNames(row);
  const bool keptFolder = kept != nullptr && kept->folder;
  const bool keptName = kept != nullptr && kept->name;
  // A cell's text and kept bytes never stand for each other.
  Fold(f, keptFolder ? "\1" : "\2");
  Fold(f, keptFolder ? *kept->folder : files.Cell(row, kFolderColumn));
  Fold(f, keptName ? "\1" : "\2");
  Fold(f, keptName ? *kept->name : files.Cell(row, kNameColumn));
  return f;
}

}  // namespace

void WalkMarkedRows(const FileList& files, platform::Host& host, MarkedRowsRun::SameFile sameFile,
                    const std::function<bool(int row)>& visit,
                    const std::function<void(int row)>& repeated) {
  const bool byIdentity = sameFile == MarkedRowsRun::SameFile::ByIdentity;
  const bool everyRow = sameFile == MarkedRowsRun::SameFile::Never;
  std::unordered_set<PathFingerprint, FingerprintHash> seenPaths;
  std::set<platform::FileIdentity> seenFiles;
  const auto passOver = [&](int row) {
    if (repeated) repeated(row);
  };
  for (int row = 1; row < files.RowCount(); ++row) {
    host.ProcessMessages();
    if (row >= files.RowCount() || !files.IsMarked(row)) continue;
    if (everyRow) {
      if (!visit(row)) break;
      continue;
    }
    if (!byIdentity) {
      if (!seenPaths.insert(FingerprintOf(files, row)).second) {
        passOver(row);
        continue;
      }
      if (!visit(row)) break;
      continue;
    }
    const platform::NativePath path = files.NativeFullPath(row);
    if (const auto identity = platform::IdentityOf(path);
        identity && !seenFiles.insert(*identity).second) {
      passOver(row);
      continue;
    }
    if (!visit(row)) break;
    // A save puts a new file in the row's place: a later spelling of the path must find
    // it too.
    if (const auto identity = platform::IdentityOf(path)) seenFiles.insert(*identity);
  }
}

std::int64_t CountMarkedRows(const FileList& files) {
  std::int64_t marked = 0;
  for (int row = 1; row < files.RowCount(); ++row) marked += files.IsMarked(row) ? 1 : 0;
  return marked;
}

std::string StoppedMessage(std::int64_t done) {
  return std::string(kStoppedBefore) + std::to_string(done) + std::string(kStoppedUnit);
}

void RunMarkedRows(FileList& files, platform::Host& host, const MarkedRowsRun& run) {
  try {
    platform::CommandScope running(host, CountMarkedRows(files));
    run.begin();
    std::int64_t done = 0;
    // A stop is taken between two files, or within a file by the mode's own loop,
    // before anything of that file is saved.
    WalkMarkedRows(
        files, host, run.sameFile,
        [&](int row) {
          host.RunAt(done, files.Cell(row, kNameColumn));
          if (host.StopRequested()) throw platform::RunStopped{};
          const bool goOn = run.visit(row);
          ++done;
          return goOn;
        },
        [&](int) { ++done; });
    if (run.end) run.end();
  } catch (const platform::RunStopped&) {
    host.ShowInfo(StoppedMessage(host.ReadCounter(platform::Counter::Change)));
    return;
  }
  std::string text(run.closing);
  text += std::to_string(host.ReadCounter(platform::Counter::Change));
  text += run.unit;
  if (run.furtherLine)
    if (const std::string line = run.furtherLine(); !line.empty()) text += "\n" + line;
  host.ShowInfo(text);
}

}  // namespace fileset
