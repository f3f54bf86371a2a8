#include "platform/journal.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/journal_folder.h"
#include "platform/journal_undo.h"

namespace platform {
namespace {

RunJournal* active = nullptr;

std::string Number(std::int64_t value) { return std::to_string(value); }

std::string Nanoseconds(const struct timespec& t) {
  return Number(static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec);
}

std::string TimeFields(FileTime t) { return Number(t.seconds) + '\t' + Number(t.nanoseconds); }

// The identity a check at undo compares: inode, size, modification time.
std::string IdentityFields(const struct stat& st) {
  return Number(static_cast<std::int64_t>(st.st_ino)) + '\t' + Number(st.st_size) + '\t' +
         Nanoseconds(st.st_mtim);
}

std::string DosField(const std::optional<std::string>& dos) {
  return dos && !dos->empty() ? EscapeField(*dos) : std::string("-");
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::string EscapeField(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string field;
  field.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= ' ' || b == '%' || b == 0x7F) {
      field += '%';
      field += kHex[b >> 4];
      field += kHex[b & 15];
    } else {
      field += c;
    }
  }
  return field;
}

std::string UnescapeField(std::string_view field) {
  const auto digit = [](char c) { return c >= 'A' ? c - 'A' + 10 : c - '0'; };
  std::string bytes;
  bytes.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '%' && i + 2 < field.size()) {
      bytes += static_cast<char>(digit(field[i + 1]) * 16 + digit(field[i + 2]));
      i += 2;
    } else {
      bytes += field[i];
    }
  }
  return bytes;
}

std::uint32_t RecordCheck(std::string_view line) {
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (const char c : line) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

NativePath JournalFolder() {
  if (const char* folder = std::getenv("TESSALY_JOURNAL_DIR"); folder != nullptr && *folder)
    return NativePath(folder);
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/')
    return NativePath(std::string(data) + "/tessaly/journal");
  const char* home = std::getenv("HOME");
  return NativePath(std::string(home != nullptr ? home : "") + "/.local/share/tessaly/journal");
}

std::uint64_t JournalByteLimit() {
  constexpr std::uint64_t kMebibyte = 1024 * 1024;
  if (const char* text = std::getenv("TESSALY_JOURNAL_MAX_MB"); text != nullptr && *text) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (end != text && *end == '\0') return value * kMebibyte;
  }
  return 2048 * kMebibyte;
}

std::unique_ptr<RunJournal> RunJournal::Open(std::string_view mode) {
  const NativePath folder = JournalFolder();
  std::error_code error;
  std::filesystem::create_directories(folder.bytes(), error);
  const std::vector<std::uint64_t> runs = JournalRuns(folder);
  std::uint64_t id = runs.empty() ? 1 : runs.back() + 1;
  for (int attempt = 0; attempt < 100; ++attempt, ++id) {
    const NativePath run = RunFolder(folder, id);
    if (mkdir(run.c_str(), 0700) != 0) {
      if (errno == EEXIST) continue;  // another run of the program took it
      return nullptr;
    }
    const std::string records = run.bytes() + "/" + kRecordFile;
    const int fd = open(records.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
      rmdir(run.c_str());
      return nullptr;
    }
    std::unique_ptr<RunJournal> journal(new RunJournal(id, run, fd));
    journal->Write("H", EscapeField(mode) + '\t' + Number(std::time(nullptr)));
    return journal;
  }
  return nullptr;
}

RunJournal::RunJournal(std::uint64_t id, NativePath folder, int records)
    : id_(id), folder_(std::move(folder)), records_(records) {}

RunJournal::~RunJournal() {
  Sync();
  close(records_);
  std::error_code error;
  // A run that changed nothing leaves nothing to undo; one that did takes the place of
  // the oldest past the last kKeptRuns.
  if (next_ == 2) {
    std::filesystem::remove_all(folder_.bytes(), error);
    return;
  }
  WriteRunSummary(id_, folder_);
  const NativePath journal = JournalFolder();
  std::vector<std::uint64_t> runs = JournalRuns(journal);
  for (std::size_t i = 0; i + kKeptRuns < runs.size(); ++i) RemoveRun(RunFolder(journal, runs[i]));
}

RunJournal::Ticket RunJournal::Write(std::string_view type, std::string fields) {
  const Ticket ticket = next_++;
  std::string line = Number(static_cast<std::int64_t>(ticket));
  line += '\t';
  line += type;
  line += '\t';
  line += fields;
  char check[16];
  std::snprintf(check, sizeof check, "\t%08X\n", RecordCheck(line));
  line += check;
  WriteAll(records_, line);
  // Renames, times and attributes are not forced to the disk one by one either: a batch
  // of records goes down together.
  if (++unsynced_ >= 1000) Sync();
  return ticket;
}

void RunJournal::Sync() {
  if (unsynced_ == 0) return;
  fdatasync(records_);
  unsynced_ = 0;
}

RunJournal::Ticket RunJournal::Renaming(const NativePath& from, const NativePath& to) {
  return Write("R", EscapeField(from.bytes()) + '\t' + EscapeField(to.bytes()));
}

RunJournal::Ticket RunJournal::SettingTimes(const NativePath& path, FileTime lastAccess,
                                            FileTime lastWrite) {
  const std::optional<FileTimes> old = ReadFileTimes(path);
  if (!old) return 0;  // nothing to change there
  return Write("T", EscapeField(path.bytes()) + '\t' + TimeFields(old->lastAccess) + '\t' +
                        TimeFields(old->lastWrite) + '\t' + TimeFields(lastAccess) + '\t' +
                        TimeFields(lastWrite));
}

RunJournal::Ticket RunJournal::SettingAttributes(const NativePath& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return 0;
  return Write("A", EscapeField(path.bytes()) + '\t' + Number(st.st_mode & 07777) + '\t' +
                        DosField(ReadDosAttribute(path.bytes())));
}

void RunJournal::AttributesSet(Ticket ticket, const NativePath& path) {
  struct stat st;
  if (ticket == 0 || stat(path.c_str(), &st) != 0) return;
  Write("a", Number(static_cast<std::int64_t>(ticket)) + '\t' + Number(st.st_mode & 07777) + '\t' +
                 DosField(ReadDosAttribute(path.bytes())));
}

RunJournal::Ticket RunJournal::Replacing(const NativePath& path, const struct stat& copy,
                                         bool inPlace) {
  struct stat old;
  Ticket ticket = 0;
  if (lstat(path.c_str(), &old) != 0) {
    ticket = Write("C", EscapeField(path.bytes()) + '\t' + IdentityFields(copy));
  } else if (!Keep(path, static_cast<std::uint64_t>(old.st_size), next_,
                   inPlace ? How::Copy : How::Link)) {
    Write("N", EscapeField(path.bytes()));
  } else {
    // Written over in place, the file keeps its inode and gets a time only then.
    struct stat after = copy;
    if (inPlace) after.st_ino = old.st_ino;
    std::string identity = IdentityFields(after);
    if (inPlace) identity = identity.substr(0, identity.rfind('\t')) + "\t-";
    ticket = Write("B", EscapeField(path.bytes()) + '\t' + identity);
  }
  // The replacement is made safe on the disk next: its record goes first.
  unsynced_ = std::max(unsynced_, 1);
  Sync();
  return ticket;
}

void RunJournal::Replaced(Ticket ticket, const NativePath& path) {
  struct stat st;
  if (ticket == 0 || lstat(path.c_str(), &st) != 0) return;
  Write("I", Number(static_cast<std::int64_t>(ticket)) + '\t' + IdentityFields(st));
}

void RunJournal::Cancel(Ticket ticket) {
  if (ticket != 0) Write("K", Number(static_cast<std::int64_t>(ticket)));
}

bool RunJournal::Keep(const NativePath& path, std::uint64_t size, Ticket ticket, How how) {
  const NativePath journal = JournalFolder();
  if (othersBytes_ < 0) othersBytes_ = static_cast<std::int64_t>(KeptBytes(journal, folder_));
  const std::uint64_t limit = JournalByteLimit();
  // A file that cannot fit however many runs go costs no other run its undo.
  if (ownBytes_ + size > limit) return false;
  // The oldest runs make room; this run's own files are never dropped for its later ones.
  while (static_cast<std::uint64_t>(othersBytes_) + ownBytes_ + size > limit) {
    const std::optional<std::uint64_t> freed = DropOldestRun(journal, folder_);
    if (!freed) return false;
    othersBytes_ = std::max<std::int64_t>(0, othersBytes_ - static_cast<std::int64_t>(*freed));
  }
  const std::string files = folder_.bytes() + "/files";
  mkdir(files.c_str(), 0700);
  const NativePath kept(KeptFile(folder_, ticket));
  bool done = false;
  if (how == How::Move) {
    // The ticket's name is new; even so, nothing in the journal is ever replaced.
    done = renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, kept.c_str(), RENAME_NOREPLACE) == 0;
    // Across file systems: a copy, then the file goes.
    if (!done && errno == EXDEV && CopyWithMetadata(path, kept)) {
      done = unlink(path.c_str()) == 0;
      if (!done) unlink(kept.c_str());
    }
  } else {
    done =
        (how == How::Link && link(path.c_str(), kept.c_str()) == 0) || CopyWithMetadata(path, kept);
  }
  if (done) ownBytes_ += size;
  return done;
}

bool RunJournal::Delete(const NativePath& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return false;
  const Ticket ticket = Write("X", EscapeField(path.bytes()));
  if (Keep(path, static_cast<std::uint64_t>(st.st_size), ticket, How::Move)) return true;
  Cancel(ticket);
  // Past the byte limit the file is deleted all the same, as one that cannot be undone.
  if (lstat(path.c_str(), &st) != 0) return false;
  Write("N", EscapeField(path.bytes()));
  return unlink(path.c_str()) == 0;
}

RunJournal* ActiveJournal() { return active; }

JournalScope::JournalScope(std::string_view mode) {
  if (active != nullptr) return;
  journal_ = RunJournal::Open(mode);
  active = journal_.get();
}

JournalScope::~JournalScope() {
  if (journal_ != nullptr) active = nullptr;
}

}  // namespace platform
