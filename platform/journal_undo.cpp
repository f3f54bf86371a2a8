#include "platform/journal_undo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "platform/error.h"
#include "platform/file_attributes.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"
#include "platform/file_write.h"
#include "platform/journal.h"
#include "platform/journal_folder.h"

namespace platform {
namespace {

// One record, its fields unescaped.
struct Record {
  std::uint64_t ticket = 0;
  std::string type;
  std::vector<std::string> fields;
  bool cancelled = false;
  std::vector<std::string> outcome;  // the "a" or "I" record's fields after the ticket
};

// The fields each record type carries, after its ticket and type.
std::size_t FieldCount(std::string_view type) {
  static const std::map<std::string_view, std::size_t> kCounts = {
      {"H", 2}, {"R", 2}, {"T", 9}, {"A", 3}, {"a", 3}, {"B", 4},
      {"C", 4}, {"I", 4}, {"X", 1}, {"N", 1}, {"K", 1}};
  const auto found = kCounts.find(type);
  return found == kCounts.end() ? 0 : found->second;
}

std::vector<std::string> Split(std::string_view line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
    parts.emplace_back(line.substr(start, tab - start));
  parts.emplace_back(line.substr(start));
  return parts;
}

std::optional<std::uint64_t> Unsigned(const std::string& text) {
  if (text.empty() || text.size() > 19 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return std::stoull(text);
}

// A run's records in order, outcomes and cancellations folded into the records they
// name; `damaged` counts the lines that fail their check or are cut short.
struct RunRecords {
  std::vector<Record> records;
  std::int64_t damaged = 0;
};

RunRecords ReadRecords(const NativePath& run) {
  RunRecords read;
  std::string text;
  try {
    text = std::string(FileBytes(NativePath(run.bytes() + "/" + kRecordFile)).bytes());
  } catch (const std::exception&) {
    return read;
  }
  std::map<std::uint64_t, std::size_t> byTicket;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {  // cut short by a kill
      ++read.damaged;
      break;
    }
    const std::string_view line(text.data() + start, end - start);
    start = end + 1;
    const std::size_t lastTab = line.rfind('\t');
    char check[16];
    if (lastTab != std::string_view::npos)
      std::snprintf(check, sizeof check, "%08X", RecordCheck(line.substr(0, lastTab)));
    std::vector<std::string> parts = Split(line);
    if (lastTab == std::string_view::npos || line.substr(lastTab + 1) != check ||
        parts.size() < 3 || !Unsigned(parts[0]) || parts.size() != FieldCount(parts[1]) + 3) {
      ++read.damaged;
      continue;
    }
    Record record{*Unsigned(parts[0]), parts[1], {}, false, {}};
    for (std::size_t i = 2; i + 1 < parts.size(); ++i)
      record.fields.push_back(UnescapeField(parts[i]));
    if (record.type == "K" || record.type == "a" || record.type == "I") {
      const std::optional<std::uint64_t> named = Unsigned(record.fields[0]);
      const auto found = named ? byTicket.find(*named) : byTicket.end();
      if (found == byTicket.end()) {
        ++read.damaged;
        continue;
      }
      Record& target = read.records[found->second];
      if (record.type == "K")
        target.cancelled = true;
      else
        target.outcome.assign(record.fields.begin() + 1, record.fields.end());
      continue;
    }
    byTicket[record.ticket] = read.records.size();
    read.records.push_back(std::move(record));
  }
  return read;
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

bool SameIdentity(const std::string& path, const std::vector<std::string>& identity) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return false;
  const std::int64_t mtime =
      static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  return identity[0] == std::to_string(st.st_ino) && identity[1] == std::to_string(st.st_size) &&
         (identity[2] == "-" || identity[2] == std::to_string(mtime));
}

std::optional<std::vector<std::string>> Attributes(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  const std::optional<std::string> dos = ReadDosAttribute(path);
  return std::vector<std::string>{std::to_string(st.st_mode & 07777),
                                  dos && !dos->empty() ? *dos : std::string("-")};
}

// Whether the path's modification time is the one at `first` (access, modification).
// Its access time is not compared: reading the file or listing the folder changes it.
bool SameTimes(const std::string& path, const std::vector<std::string>& fields, std::size_t first) {
  const std::optional<FileTimes> times = ReadFileTimes(NativePath(path));
  return times && fields[first + 2] == std::to_string(times->lastWrite.seconds) &&
         fields[first + 3] == std::to_string(times->lastWrite.nanoseconds);
}

FileTime TimeOf(const std::vector<std::string>& fields, std::size_t first) {
  return {std::stoll(fields[first]), static_cast<std::int32_t>(std::stol(fields[first + 1]))};
}

// Gives `from` the name `path`, which must be free: no file that took the name meanwhile
// is ever replaced.
bool MoveToFreeName(const std::string& from, const std::string& path) {
  return renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0;
}

// Puts `from` in the place of the file at `path`, which must still be what the run left
// (`left`): the two are swapped in one step and what came out is checked, so a file
// written there after the check is swapped back, never lost. What the run left goes.
bool SwapForRunsFile(const std::string& from, const std::string& path,
                     const std::vector<std::string>& left) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, path.c_str(), RENAME_EXCHANGE) != 0) return false;
  if (!SameIdentity(from, left)) {
    renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, path.c_str(), RENAME_EXCHANGE);
    return false;
  }
  unlink(from.c_str());
  return true;
}

// Puts the kept file back at `path`: in the place of what the run left there (`left`),
// or at a free name when `left` is empty. Across file systems a copy beside `path` is
// put there instead.
bool PutBack(const std::string& kept, const std::string& path,
             const std::vector<std::string>& left) {
  const auto place = [&](const std::string& from) {
    return left.empty() ? MoveToFreeName(from, path) : SwapForRunsFile(from, path, left);
  };
  if (place(kept)) return true;
  if (errno != EXDEV) return false;
  const std::string copy = path + ".tessaly-undo";
  if (!CopyWithMetadata(NativePath(kept), NativePath(copy))) return false;
  if (place(copy)) return true;
  unlink(copy.c_str());
  return false;
}

// Writes the kept copy's bytes over the file at `path`, keeping its inode, and gives it
// the copy's times back.
bool WriteBackInPlace(const std::string& kept, const std::string& path) {
  try {
    const FileBytes old{NativePath(kept)};
    ReplaceFileContents(NativePath(path), old.bytes());
  } catch (const std::exception&) {
    return false;
  }
  const std::optional<FileTimes> times = ReadFileTimes(NativePath(kept));
  return times && WriteFileTimes(NativePath(path), times->lastAccess, times->lastWrite);
}

enum class Outcome { Restored, LeftAlone, NothingToDo };

Outcome Undo(const NativePath& run, const Record& r) {
  const std::vector<std::string>& f = r.fields;
  if (r.type == "R") {
    if (Exists(f[1]) && !Exists(f[0]))
      return MoveToFreeName(f[1], f[0]) ? Outcome::Restored : Outcome::LeftAlone;
    return Exists(f[0]) && !Exists(f[1]) ? Outcome::NothingToDo : Outcome::LeftAlone;
  }
  if (r.type == "T") {
    if (SameTimes(f[0], f, 5))
      return WriteFileTimes(NativePath(f[0]), TimeOf(f, 1), TimeOf(f, 3)) ? Outcome::Restored
                                                                          : Outcome::LeftAlone;
    return SameTimes(f[0], f, 1) ? Outcome::NothingToDo : Outcome::LeftAlone;
  }
  if (r.type == "A") {
    const std::optional<std::vector<std::string>> now = Attributes(f[0]);
    const std::vector<std::string> old(f.begin() + 1, f.end());
    if (now && now == old) return Outcome::NothingToDo;
    if (!now || now != r.outcome) return Outcome::LeftAlone;
    const auto mode = static_cast<mode_t>(std::stoul(old[0]));
    // The word can be written only while the path is writable.
    bool done = chmod(f[0].c_str(), mode | S_IWUSR) == 0;
    done = done &&
           (old[1] == "-"
                ? removexattr(f[0].c_str(), kDosAttributeName) == 0 || errno == ENODATA
                : setxattr(f[0].c_str(), kDosAttributeName, old[1].data(), old[1].size(), 0) == 0);
    done = chmod(f[0].c_str(), mode) == 0 && done;
    return done ? Outcome::Restored : Outcome::LeftAlone;
  }
  if (r.type == "B" || r.type == "C") {
    const std::vector<std::string> left =
        r.outcome.empty() ? std::vector<std::string>(f.begin() + 1, f.end()) : r.outcome;
    const std::string kept = KeptFile(run, r.ticket);
    if (!SameIdentity(f[0], left)) {
      if (r.type == "C") return Exists(f[0]) ? Outcome::LeftAlone : Outcome::NothingToDo;
      struct stat now, old;
      const bool untouched = lstat(f[0].c_str(), &now) == 0 && lstat(kept.c_str(), &old) == 0 &&
                             now.st_ino == old.st_ino && now.st_dev == old.st_dev;
      return untouched ? Outcome::NothingToDo : Outcome::LeftAlone;
    }
    if (r.type == "C") return unlink(f[0].c_str()) == 0 ? Outcome::Restored : Outcome::LeftAlone;
    // A file the run wrote over in place shares its inode with other names: they all get
    // the old bytes back the same way.
    if (f[3] == "-") return WriteBackInPlace(kept, f[0]) ? Outcome::Restored : Outcome::LeftAlone;
    return PutBack(kept, f[0], left) ? Outcome::Restored : Outcome::LeftAlone;
  }
  if (r.type == "X") {
    const std::string kept = KeptFile(run, r.ticket);
    if (!Exists(kept)) return Outcome::NothingToDo;  // the delete was never made
    if (Exists(f[0])) return Outcome::LeftAlone;
    return PutBack(kept, f[0], {}) ? Outcome::Restored : Outcome::LeftAlone;
  }
  return Outcome::NothingToDo;  // H, N: nothing to put back
}

bool IsChange(const Record& r) { return r.type != "H" && !r.cancelled; }

JournalRun Summary(std::uint64_t id, const NativePath& run, const RunRecords& read) {
  JournalRun summary;
  summary.id = id;
  std::set<std::string> paths;
  for (const Record& r : read.records) {
    if (r.type == "H") {
      summary.mode = r.fields[0];
      summary.time = std::stoll(r.fields[1].empty() ? "0" : r.fields[1]);
    } else if (IsChange(r)) {
      paths.insert(r.fields[0]);
      if (r.type == "N") summary.state = RunState::Partly;
    }
  }
  summary.files = static_cast<std::int64_t>(paths.size());
  if (Exists(run.bytes() + "/" + kUndoneMark)) summary.state = RunState::Undone;
  return summary;
}

// The summary file of a run: its mode, time, files and whether some could not be kept,
// so that listing the runs need not read their records.
constexpr char kSummaryFile[] = "summary";

std::string SummaryLine(const JournalRun& run) {
  std::string line = EscapeField(run.mode) + '\t' + std::to_string(run.time) + '\t' +
                     std::to_string(run.files) + '\t' +
                     (run.state == RunState::Partly ? "partly" : "whole");
  char check[16];
  std::snprintf(check, sizeof check, "\t%08X\n", RecordCheck(line));
  return line + check;
}

// The run as its summary file tells it; nullopt when it has none or a damaged one.
std::optional<JournalRun> ReadSummary(std::uint64_t id, const NativePath& run) {
  std::string text;
  try {
    text = std::string(FileBytes(NativePath(run.bytes() + "/" + kSummaryFile)).bytes());
  } catch (const std::exception&) {
    return std::nullopt;
  }
  const std::vector<std::string> parts = Split(text.substr(0, text.find('\n')));
  if (parts.size() != 5) return std::nullopt;
  JournalRun summary;
  summary.id = id;
  summary.mode = UnescapeField(parts[0]);
  const std::optional<std::uint64_t> time = Unsigned(parts[1]);
  const std::optional<std::uint64_t> files = Unsigned(parts[2]);
  if (!time || !files) return std::nullopt;
  summary.time = static_cast<std::int64_t>(*time);
  summary.files = static_cast<std::int64_t>(*files);
  summary.state = parts[3] == "partly" ? RunState::Partly : RunState::Undoable;
  if (SummaryLine(summary) != text) return std::nullopt;
  if (Exists(run.bytes() + "/" + kUndoneMark)) summary.state = RunState::Undone;
  return summary;
}

}  // namespace

void WriteRunSummary(std::uint64_t id, const NativePath& run) {
  const JournalRun summary = Summary(id, run, ReadRecords(run));
  try {
    ReplaceFileContents(NativePath(run.bytes() + "/" + kSummaryFile), SummaryLine(summary));
  } catch (const CommandError&) {
    // Without its summary the run is listed from its records, only more slowly.
  }
}

std::string_view StateWord(RunState state) {
  switch (state) {
    case RunState::Undoable:
      return "可撤销";
    case RunState::Undone:
      return "已撤销";
    case RunState::Partly:
      return "部分可撤销";
  }
  return {};
}

std::vector<JournalRun> JournalHistory() {
  const NativePath journal = JournalFolder();
  std::vector<JournalRun> history;
  std::vector<std::uint64_t> runs = JournalRuns(journal);
  for (auto id = runs.rbegin(); id != runs.rend(); ++id) {
    const NativePath run = RunFolder(journal, *id);
    // A run killed before its end has no summary: its records tell.
    std::optional<JournalRun> summary = ReadSummary(*id, run);
    if (!summary) summary = Summary(*id, run, ReadRecords(run));
    if (summary->files > 0) history.push_back(*summary);
  }
  return history;
}

std::optional<JournalRun> LatestUndoable() {
  for (const JournalRun& run : JournalHistory())
    if (run.state != RunState::Undone) return run;
  return std::nullopt;
}

UndoResult UndoRun(std::uint64_t id) {
  UndoResult result;
  const NativePath run = RunFolder(JournalFolder(), id);
  if (Exists(run.bytes() + "/" + kUndoneMark)) return result;
  const RunRecords read = ReadRecords(run);
  result.damaged = read.damaged;
  // Latest first, so that a chain of renames unwinds and a ".bak" copy made before its
  // file was replaced comes back after it.
  for (auto r = read.records.rbegin(); r != read.records.rend(); ++r) {
    if (!IsChange(*r)) continue;
    switch (Undo(run, *r)) {
      case Outcome::Restored:
        ++result.restored;
        if (r->type == "R")
          result.renamedBack.emplace_back(r->fields[1], r->fields[0]);
        else
          result.putBack.push_back(r->fields[0]);
        break;
      case Outcome::LeftAlone:
        ++result.leftAlone;
        break;
      case Outcome::NothingToDo:
        break;
    }
  }
  if (!Exists(run.bytes())) return result;
  const int mark =
      open((run.bytes() + "/" + kUndoneMark).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
  if (mark >= 0) close(mark);
  // The old files not put back were changed since: the journal lets them go.
  std::error_code error;
  std::filesystem::remove_all(run.bytes() + "/files", error);
  result.runs = 1;
  return result;
}

UndoResult UndoRunsFrom(std::uint64_t id) {
  UndoResult total;
  std::vector<std::uint64_t> runs = JournalRuns(JournalFolder());
  for (auto later = runs.rbegin(); later != runs.rend() && *later >= id; ++later) {
    const UndoResult one = UndoRun(*later);
    total.restored += one.restored;
    total.leftAlone += one.leftAlone;
    total.damaged += one.damaged;
    total.runs += one.runs;
    total.renamedBack.insert(total.renamedBack.end(), one.renamedBack.begin(),
                             one.renamedBack.end());
    total.putBack.insert(total.putBack.end(), one.putBack.begin(), one.putBack.end());
  }
  return total;
}

std::string UndoMessage(const UndoResult& result) {
  std::string message = "成功撤销 " + std::to_string(result.restored) + " 个文件";
  if (result.leftAlone > 0)
    message += "\n" + std::to_string(result.leftAlone) + " 个文件在运行后又被修改，未撤销";
  if (result.damaged > 0)
    message += "\n日志中 " + std::to_string(result.damaged) + " 条记录已损坏，已跳过";
  return message;
}

}  // namespace platform
