#include "platform/rewrite_in_place.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"

namespace platform {
namespace {

constexpr std::string_view kRecordHead = "tessaly rewrite 1";
constexpr std::string_view kRecordEnd = ".rewrite";
constexpr std::string_view kPartEnd = ".part";

bool WriteAll(int fd, std::string_view bytes, off_t offset) {
  while (!bytes.empty()) {
    const ssize_t written = pwrite(fd, bytes.data(), bytes.size(), offset);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
    offset += written;
  }
  return true;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The folder the records are kept in, made when missing; empty when there is none to be
// had (no home folder, no right to make it).
std::string RewritesFolder() {
  std::string journal;
  if (const char* dir = std::getenv("TESSALY_JOURNAL_DIR"); dir != nullptr && *dir != '\0') {
    journal = dir;
  } else if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
    journal = std::string(data) + "/tessaly/journal";
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    journal = std::string(home) + "/.local/share/tessaly/journal";
  } else {
    return {};
  }
  std::string folder = journal + "/rewrites";
  // Each folder on the way, as mkdir -p does; private, as the records name the user's files.
  for (std::size_t slash = 1; slash != std::string::npos; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (!part.empty()) mkdir(part.c_str(), 0700);
  }
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st;
  if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  return folder;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

std::optional<std::string> FromHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    int value = 0;
    for (const char c : hex.substr(i, 2)) {
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + digit;
    }
    out += static_cast<char>(value);
  }
  return out;
}

struct Record {
  std::string target;
  std::string copy;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
};

std::string RecordText(const Record& r) {
  std::ostringstream text;
  text << kRecordHead << '\n'
       << Hex(r.target) << '\n'
       << Hex(r.copy) << '\n'
       << r.device << ' ' << r.inode << ' ' << r.size << '\n'
       << "end\n";
  return text.str();
}

std::optional<Record> ReadRecord(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return std::nullopt;
  std::string text(8192, '\0');
  const ssize_t got = read(fd, text.data(), text.size());
  close(fd);
  if (got <= 0) return std::nullopt;
  text.resize(static_cast<std::size_t>(got));
  std::istringstream lines(text);
  std::string head, target, copy, numbers, end;
  if (!std::getline(lines, head) || head != kRecordHead || !std::getline(lines, target) ||
      !std::getline(lines, copy) || !std::getline(lines, numbers) || !std::getline(lines, end) ||
      end != "end")
    return std::nullopt;
  Record r;
  const std::optional<std::string> t = FromHex(target), c = FromHex(copy);
  std::istringstream values(numbers);
  if (!t || !c || t->empty() || c->empty() || !(values >> r.device >> r.inode >> r.size))
    return std::nullopt;
  r.target = *t;
  r.copy = *c;
  return r;
}

// Finishes or drops the rewrite one record tells of; false when it must wait for a later
// run (the file could not be written over yet).
bool Settle(const Record& r) {
  struct stat copy;
  if (lstat(r.copy.c_str(), &copy) != 0) return true;  // done, or never begun: nothing to do
  struct stat target;
  const bool same = lstat(r.target.c_str(), &target) == 0 && S_ISREG(target.st_mode) &&
                    static_cast<std::uint64_t>(target.st_dev) == r.device &&
                    static_cast<std::uint64_t>(target.st_ino) == r.inode;
  if (!same || !S_ISREG(copy.st_mode) || copy.st_size != r.size) {
    // The file was replaced or removed since, or the copy is not the one recorded: the
    // rewrite is not ours to finish.
    unlink(r.copy.c_str());
    return true;
  }
  const int fd = open(r.copy.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  const InPlace result = WriteOver(fd, r.target);
  close(fd);
  if (result != InPlace::Done) return false;
  unlink(r.copy.c_str());
  FlushFolder(FolderOf(r.copy));
  return true;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool FlushFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool flushed = fsync(fd) == 0;
  close(fd);
  return flushed;
}

InPlace WriteOver(int copyFd, const std::string& target) {
  // Reading back goes through the cache: a direct read would need aligned buffers.
  const int flags = fcntl(copyFd, F_GETFL);
  struct stat copy;
  if (flags < 0 || fcntl(copyFd, F_SETFL, flags & ~O_DIRECT) != 0 || fstat(copyFd, &copy) != 0)
    return InPlace::Untouched;
  const int out = open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
  if (out < 0) return InPlace::Untouched;
  if (copy.st_size > 0 && fallocate(out, FALLOC_FL_KEEP_SIZE, 0, copy.st_size) != 0 &&
      errno != EOPNOTSUPP && errno != ENOSYS) {
    close(out);
    return InPlace::Untouched;
  }
  std::string block(1 << 20, '\0');
  off_t offset = 0;
  bool ok = true;
  while (ok && offset < copy.st_size) {
    const ssize_t got = pread(copyFd, block.data(), block.size(), offset);
    if (got < 0 && errno == EINTR) continue;
    ok = got > 0 &&
         WriteAll(out, std::string_view(block.data(), static_cast<std::size_t>(got)), offset);
    offset += got;
  }
  ok = ok && ftruncate(out, copy.st_size) == 0 && fsync(out) == 0;
  ok = close(out) == 0 && ok;
  return ok ? InPlace::Done : InPlace::Broken;
}

RecordedRewrite::RecordedRewrite(const NativePath& shown, const std::string& target,
                                 const std::string& copy, std::uint64_t device, std::uint64_t inode,
                                 std::int64_t size) {
  const std::string folder = RewritesFolder();
  if (folder.empty()) ThrowCannotCreate(shown);
  std::uint64_t random = 0;
  if (getrandom(&random, sizeof random, 0) != static_cast<ssize_t>(sizeof random))
    ThrowCannotCreate(shown);
  char name[64];
  std::snprintf(name, sizeof name, "/%ld-%016llx", static_cast<long>(getpid()),
                static_cast<unsigned long long>(random));
  path_ = folder + name + std::string(kRecordEnd);
  const std::string part = folder + name + std::string(kPartEnd);
  const std::string text = RecordText({target, copy, device, inode, size});
  // Written aside and renamed, so that a record is whole or not there at all.
  const int fd = open(part.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
  bool ok = fd >= 0 && WriteAll(fd, text, 0) && fsync(fd) == 0;
  if (fd >= 0) ok = close(fd) == 0 && ok;
  // Never over another record, however unlikely its name is to come up again.
  const std::string_view leaf = std::string_view(name + 1);
  const bool named =
      ok && RenameNoReplace(NativePath(folder), std::string(leaf) + std::string(kPartEnd),
                            std::string(leaf) + std::string(kRecordEnd));
  if (!named || !FlushFolder(folder)) {
    unlink((named ? path_ : part).c_str());
    ThrowCannotCreate(shown);
  }
}

RecordedRewrite::~RecordedRewrite() {
  if (!kept_) Finish();
}

void RecordedRewrite::Finish() {
  if (finished_) return;
  finished_ = true;
  unlink(path_.c_str());
}

void CompleteInterruptedRewrites() {
  const std::string folder = RewritesFolder();
  if (folder.empty()) return;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> records;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (EndsWith(name, kPartEnd)) {
      // A record never finished: its rewrite never began.
      unlink((folder + "/" + name).c_str());
    } else if (EndsWith(name, kRecordEnd)) {
      records.push_back(folder + "/" + name);
    }
  }
  closedir(dir);
  for (const std::string& path : records) {
    // A record of a process still running is its own: it may be writing the file now.
    const long pid = std::strtol(path.c_str() + folder.size() + 1, nullptr, 10);
    if (pid > 0 && pid != getpid() && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM))
      continue;
    const std::optional<Record> record = ReadRecord(path);
    if (record && Settle(*record)) unlink(path.c_str());
  }
}

}  // namespace platform
