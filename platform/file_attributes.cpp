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

bool WriteFileTimes(const NativePath& path, FileTime lastAccess, FileTime lastWrite) {
  if (path.empty()) return false;
  const struct timespec times[2] = {ToTimespec(lastAccess), ToTimespec(lastWrite)};
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
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

bool SetAttributes(const NativePath& path, std::uint32_t mask, DosWordWriter writeWord) {
  if (path.empty()) return false;
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

}  // namespace platform
