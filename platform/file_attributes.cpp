#include "platform/file_attributes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/journal.h"

namespace platform {
namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr std::uint32_t kDosBits = kReadOnly | kHidden | kSystem | kArchive;

FileTime ToFileTime(const struct statx_timestamp& t) {
  return FileTime{t.tv_sec, static_cast<std::int32_t>(t.tv_nsec)};
}

struct timespec ToTimespec(FileTime t) {
  struct timespec value {};
  value.tv_sec = static_cast<time_t>(t.seconds);
  value.tv_nsec = t.nanoseconds;
  return value;
}

}  // namespace

std::optional<FileTimes> ReadFileTimes(const NativePath& path) {
  if (path.empty()) return std::nullopt;
  struct statx st;
  if (statx(AT_FDCWD, path.c_str(), AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
    return std::nullopt;
  FileTimes times;
  times.creation = ToFileTime((st.stx_mask & STATX_BTIME) != 0 ? st.stx_btime : st.stx_ctime);
  times.lastAccess = ToFileTime(st.stx_atime);
  times.lastWrite = ToFileTime(st.stx_mtime);
  return times;
}

std::optional<std::string> ReadDosAttribute(const std::string& path) {
  // Room for the text form and Samba's binary copy after it, so one call is enough.
  char buffer[256];
  const ssize_t size = getxattr(path.c_str(), kDosAttributeName, buffer, sizeof buffer);
  if (size >= 0) return std::string(buffer, static_cast<std::size_t>(size));
  for (;;) {
    if (errno == ENODATA || errno == ENOTSUP) return std::string();
    if (errno != ERANGE) return std::nullopt;
    // Longer than usual: ask for its length. It may grow again before it is read.
    const ssize_t needed = getxattr(path.c_str(), kDosAttributeName, nullptr, 0);
    if (needed < 0) continue;
    if (needed == 0) return std::string();  // a read of 0 bytes would only ask the length
    std::string value(static_cast<std::size_t>(needed), '\0');
    const ssize_t got = getxattr(path.c_str(), kDosAttributeName, value.data(), value.size());
    if (got >= 0) {
      value.resize(static_cast<std::size_t>(got));
      return value;
    }
  }
}

bool WriteFileTimes(const NativePath& path, FileTime lastAccess, FileTime lastWrite) {
  if (path.empty()) return false;
  const struct timespec times[2] = {ToTimespec(lastAccess), ToTimespec(lastWrite)};
  RunJournal* journal = ActiveJournal();
  const RunJournal::Ticket ticket =
      journal != nullptr ? journal->SettingTimes(path, lastAccess, lastWrite) : 0;
  if (utimensat(AT_FDCWD, path.c_str(), times, 0) == 0) return true;
  if (journal != nullptr) journal->Cancel(ticket);
  return false;
}

FileTime LocalToFileTime(const LocalDateTime& local) {
  std::tm tm{};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  tm.tm_hour = local.hour;
  tm.tm_min = local.minute;
  tm.tm_sec = local.second;
  tm.tm_isdst = -1;  // the zone's rules decide, as for any other local time
  return FileTime{static_cast<std::int64_t>(std::mktime(&tm)), local.millisecond * 1'000'000};
}

int WriteDosAttributeWord(const char* nativePath, std::uint32_t word) {
  char text[16];
  const int length = std::snprintf(text, sizeof text, "0x%02x", static_cast<unsigned>(word));
  if (setxattr(nativePath, kDosAttributeName, text, static_cast<std::size_t>(length), 0) == 0)
    return 0;
  return errno;
}

namespace {

bool SetAttributesUnrecorded(const NativePath& path, std::uint32_t mask, DosWordWriter writeWord) {
  const std::string& native = path.bytes();
  struct stat st;
  if (stat(native.c_str(), &st) != 0) return false;
  // Devices, pipes and sockets carry no DOS word here.
  if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) return false;

  const mode_t oldMode = st.st_mode & 07777;
  mode_t newMode = oldMode;
  if ((mask & kReadOnly) != 0) {
    newMode &= ~kWriteBits;
  } else if ((oldMode & kWriteBits) == 0) {
    newMode |= S_IWUSR;
  }
  // A user other than root may write an extended attribute only while the path has a
  // write bit: a path that becomes writable gets its bit first, one that becomes
  // read-only loses it last.
  const bool gainsWrite = (oldMode & kWriteBits) == 0 && (newMode & kWriteBits) != 0;
  if (gainsWrite && chmod(native.c_str(), newMode) != 0) return false;

  const std::uint32_t word = (mask & kDosBits) | (S_ISDIR(st.st_mode) ? kDirectory : 0u);
  const int error = writeWord(native.c_str(), word);
  // Without extended attributes only read-only and archive can be carried: read-only
  // by the mode bits, archive being what every file here reads as anyway.
  const bool modeBitsSuffice = error == ENOTSUP && (mask & (kHidden | kSystem)) == 0;
  if (error != 0 && !modeBitsSuffice) {
    if (gainsWrite) chmod(native.c_str(), oldMode);
    return false;
  }
  if (!gainsWrite && newMode != oldMode) return chmod(native.c_str(), newMode) == 0;
  return true;
}

}  // namespace

bool SetAttributes(const NativePath& path, std::uint32_t mask, DosWordWriter writeWord) {
  if (path.empty()) return false;
  RunJournal* journal = ActiveJournal();
  const RunJournal::Ticket ticket = journal != nullptr ? journal->SettingAttributes(path) : 0;
  const bool done = SetAttributesUnrecorded(path, mask, writeWord);
  if (journal != nullptr) {
    if (done)
      journal->AttributesSet(ticket, path);
    else
      journal->Cancel(ticket);
  }
  return done;
}

}  // namespace platform
