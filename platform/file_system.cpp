#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unicode/uchar.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/ascii.h"
#include "platform/code_page.h"
#include "platform/journal.h"
#include "platform/wildcard.h"

namespace platform {
namespace {

constexpr unsigned kStatxFlags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;
constexpr std::uint32_t kTypeAttributes = kDirectory | kReparsePoint | kDevice;

// The path of a folder to open; the empty folder is the root, as JoinPath("", name) is
// "/name".
std::string FolderToOpen(const NativePath& folder) {
  return folder.empty() ? std::string(1, kPathSeparator) : folder.bytes();
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Samba's text form "0xNN", possibly followed by a NUL and a binary copy of the word.
std::optional<std::uint32_t> ParseDosAttributes(std::string_view value) {
  value = value.substr(0, value.find('\0'));
  if (value.size() < 3 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X') ||
      value.size() > 2 + 8)
    return std::nullopt;
  std::uint32_t word = 0;
  for (const char c : value.substr(2)) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    word = word << 4 | digit;
  }
  return word;
}

#ifdef __NR_getxattrat
struct XattrArgs {  // struct xattr_args of <linux/xattr.h>, which clashes with <sys/xattr.h>
  std::uint64_t value;
  std::uint32_t size;
  std::uint32_t flags;
};
#endif

// Reads user.DOSATTRIB of one entry by its full path. Where the system headers know
// getxattrat() (Linux 6.13), the read goes relative to the open folder instead while the
// kernel offers the call, sparing the walk of the whole path for each entry: about 5 % of
// a search of 200,000 files. Without the headers there is no call number to trust, and
// the other ways that need none cost more than the walk (opening each entry to read the
// attribute from its descriptor about 10 %, a path through /proc/self/fd about 18 %).
// `relative` turns false for good once the kernel refuses the call.
class DosAttributeReader {
 public:
  // `folderFd` may be AT_FDCWD; `fullPath` is used when the relative call is missing.
  DosAttributeReader(int folderFd, const char* name, const char* fullPath, bool& relative)
      : folderFd_(folderFd), name_(name), fullPath_(fullPath), relative_(relative) {}

  std::optional<std::uint32_t> Read() {
    // Room for the text form and Samba's binary copy after it, so one call is enough.
    char buffer[256];
    const ssize_t length = Get(buffer, sizeof buffer);
    if (length >= 0)
      return ParseDosAttributes(std::string_view(buffer, static_cast<std::size_t>(length)));
    if (errno != ERANGE) return std::nullopt;
    const ssize_t needed = Get(nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::string value(static_cast<std::size_t>(needed), '\0');
    const ssize_t read = Get(value.data(), value.size());
    if (read < 0) return std::nullopt;
    value.resize(static_cast<std::size_t>(read));
    return ParseDosAttributes(value);
  }

 private:
  ssize_t Get(char* buffer, std::size_t size) {
#ifdef __NR_getxattrat
    if (relative_) {
      XattrArgs args{reinterpret_cast<std::uintptr_t>(buffer), static_cast<std::uint32_t>(size), 0};
      const long result = syscall(__NR_getxattrat, folderFd_, name_, AT_SYMLINK_NOFOLLOW,
                                  kDosAttributeName, &args, sizeof args);
      // An older kernel lacks the call (ENOSYS); a container filter may refuse it (EPERM).
      if (result >= 0 || (errno != ENOSYS && errno != EPERM)) return result;
      relative_ = false;
    }
#endif
    return lgetxattr(fullPath_, kDosAttributeName, buffer, size);
  }

  [[maybe_unused]] int folderFd_;
  [[maybe_unused]] const char* name_;
  const char* fullPath_;
  [[maybe_unused]] bool& relative_;
};

std::uint32_t AttributesOf(const struct statx& st, std::string_view name,
                           DosAttributeReader&& dosReader) {
  const mode_t mode = st.stx_mode;
  std::uint32_t type = 0;
  if (S_ISDIR(mode)) {
    type = kDirectory;
  } else if (S_ISLNK(mode)) {
    type = kReparsePoint;
  } else if (!S_ISREG(mode)) {
    type = kDevice;
  }
  // User extended attributes exist only on files and folders; asking a link or a
  // device would cost a call that always fails.
  std::optional<std::uint32_t> dos;
  if (S_ISREG(mode) || S_ISDIR(mode)) dos = dosReader.Read();
  std::uint32_t attributes = type;
  if (dos) {
    attributes |= *dos & ~(kReadOnly | kTypeAttributes);
  } else {
    if (!name.empty() && name.front() == '.') attributes |= kHidden;
    if (S_ISREG(mode)) attributes |= kArchive;
  }
  if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= kReadOnly;
  return attributes;
}

FileTime ToFileTime(const struct statx_timestamp& t) {
  return FileTime{t.tv_sec, static_cast<std::int32_t>(t.tv_nsec)};
}

// Names that differ only in letter case (possible here, not on NTFS) keep a fixed order.
bool AsciiNameLess(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const char ua = AsciiUpper(a[i]), ub = AsciiUpper(b[i]);
    if (ua != ub) return static_cast<unsigned char>(ua) < static_cast<unsigned char>(ub);
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

void AppendUpperCaseKey(std::u16string& keys, std::string_view engineName) {
  if (IsAscii(engineName)) {
    for (const char c : engineName) keys += static_cast<char16_t>(AsciiUpper(c));
    return;
  }
  for (const char16_t unit : EngineToUtf16(engineName)) {
    const UChar32 upper = unit < 0x80 ? AsciiUpper(static_cast<char>(unit)) : u_toupper(unit);
    keys += U_IS_BMP(upper) ? static_cast<char16_t>(upper) : unit;
  }
}

// The order of an NTFS volume: both names upper-cased, then compared by UTF-16 code unit.
template <typename Entry>
void SortByName(std::vector<Entry>& entries) {
  const bool ascii =
      std::all_of(entries.begin(), entries.end(), [](const Entry& e) { return IsAscii(e.name); });
  if (ascii) {
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return AsciiNameLess(a.name, b.name); });
    return;
  }
  // All keys in one buffer: one allocation for the folder, not one per name.
  std::u16string keys;
  std::vector<std::size_t> offsets;
  offsets.reserve(entries.size() + 1);
  for (const Entry& e : entries) {
    offsets.push_back(keys.size());
    AppendUpperCaseKey(keys, e.name);
  }
  offsets.push_back(keys.size());
  struct Keyed {
    std::u16string_view key;
    std::size_t index;
  };
  std::vector<Keyed> order;
  order.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i)
    order.push_back({std::u16string_view(keys).substr(offsets[i], offsets[i + 1] - offsets[i]), i});
  std::sort(order.begin(), order.end(), [&](const Keyed& a, const Keyed& b) {
    const int byKey = a.key.compare(b.key);
    return byKey != 0 ? byKey < 0 : entries[a.index].name < entries[b.index].name;
  });
  std::vector<Entry> sorted;
  sorted.reserve(entries.size());
  for (const Keyed& k : order) sorted.push_back(std::move(entries[k.index]));
  entries = std::move(sorted);
}

// A name must stay in its folder.
bool IsAcceptableName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.find(kPathSeparator) != std::string_view::npos) return false;
  return name.find('\0') == std::string_view::npos;
}

constexpr unsigned kEntryStats = STATX_BASIC_STATS | STATX_BTIME;

void SetStats(DirEntry& entry, const struct statx& st) {
  entry.size = static_cast<std::int64_t>(st.stx_size);
  entry.creation = ToFileTime((st.stx_mask & STATX_BTIME) != 0 ? st.stx_btime : st.stx_ctime);
  entry.lastAccess = ToFileTime(st.stx_atime);
  entry.lastWrite = ToFileTime(st.stx_mtime);
}

// Fills whichever of `entries` (names matching `wildcard`) and `subfolders` is given from
// one read of the folder. An entry is examined only when it can be kept, relative to the
// open folder; the full path is there for the calls that need one.
void ReadFolder(const NativePath& folder, const Wildcard* wildcard, std::vector<DirEntry>* entries,
                std::vector<SubfolderEntry>* subfolders) {
  std::string path = FolderToOpen(folder);
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return;
  if (path.back() != kPathSeparator) path += kPathSeparator;
  const std::size_t base = path.size();
  const int folderFd = dirfd(dir);
  bool relative = true;
  while (const dirent* found = readdir(dir)) {
    const char* raw = found->d_name;
    if (IsDotOrDotDot(raw)) continue;
    const bool ascii = IsAscii(raw);
    // ASCII names are engine text as they are: no conversion for them.
    std::string name = ascii ? std::string() : EngineOf(raw);
    const bool matches =
        entries != nullptr && wildcard->Matches(ascii ? std::string_view(raw) : name);
    const bool mayBeFolder =
        subfolders != nullptr && (found->d_type == DT_DIR || found->d_type == DT_UNKNOWN);
    if (!matches && !mayBeFolder) continue;  // never examined

    struct statx st;
    const unsigned mask = matches ? kEntryStats : STATX_TYPE | STATX_MODE;
    if (statx(folderFd, raw, kStatxFlags, mask, &st) != 0) continue;  // removed since the read
    const bool isFolder = mayBeFolder && S_ISDIR(st.stx_mode);
    if (!matches && !isFolder) continue;
    if (ascii) name = raw;
    path.resize(base);
    path += raw;
    const std::uint32_t attributes =
        AttributesOf(st, name, DosAttributeReader(folderFd, raw, path.c_str(), relative));
    std::string nativeBytes = ascii ? std::string() : std::string(raw);
    if (!matches) {
      subfolders->push_back({std::move(name), std::move(nativeBytes), attributes});
      continue;
    }
    if (isFolder) subfolders->push_back({name, nativeBytes, attributes});
    DirEntry entry;
    entry.name = std::move(name);
    entry.nativeBytes = std::move(nativeBytes);
    entry.attributes = attributes;
    SetStats(entry, st);
    entries->push_back(std::move(entry));
  }
  closedir(dir);
  if (entries != nullptr) SortByName(*entries);
  if (subfolders != nullptr) SortByName(*subfolders);
}

}  // namespace

std::vector<DirEntry> ListFolder(const NativePath& folder, std::string_view pattern) {
  std::vector<DirEntry> entries;
  const Wildcard wildcard(pattern);
  ReadFolder(folder, &wildcard, &entries, nullptr);
  return entries;
}

std::vector<SubfolderEntry> ListSubfolders(const NativePath& folder) {
  std::vector<SubfolderEntry> subfolders;
  ReadFolder(folder, nullptr, nullptr, &subfolders);
  return subfolders;
}

FolderListing ListFolderAndSubfolders(const NativePath& folder, std::string_view pattern) {
  FolderListing listing;
  const Wildcard wildcard(pattern);
  ReadFolder(folder, &wildcard, &listing.entries, &listing.subfolders);
  return listing;
}

std::optional<DirEntry> ReadEntry(const NativePath& path) {
  if (path.empty()) return std::nullopt;
  const std::string& native = path.bytes();
  struct statx st;
  if (statx(AT_FDCWD, native.c_str(), kStatxFlags, kEntryStats, &st) != 0) return std::nullopt;
  std::string_view trimmed = native;
  while (trimmed.size() > 1 && trimmed.back() == kPathSeparator) trimmed.remove_suffix(1);
  const std::size_t slash = trimmed.rfind(kPathSeparator);
  const std::string_view raw =
      slash == std::string_view::npos ? trimmed : trimmed.substr(slash + 1);
  std::string name = EngineOf(raw);
  DirEntry entry;
  bool relative = false;  // one path, nothing to spare
  entry.attributes = AttributesOf(
      st, name, DosAttributeReader(AT_FDCWD, native.c_str(), native.c_str(), relative));
  if (!IsAscii(raw)) entry.nativeBytes = raw;
  entry.name = std::move(name);
  SetStats(entry, st);
  return entry;
}

namespace {

bool RenameUnrecorded(const NativePath& from, const NativePath& to) {
  // RENAME_NOREPLACE: a plain rename would silently replace an existing target.
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // The file system cannot rename without replacing. A hard link fails on an existing
  // target, so link + unlink renames safely; a folder cannot be linked and stays as it is.
  if (link(from.c_str(), to.c_str()) != 0) return false;
  if (unlink(from.c_str()) != 0) {
    unlink(to.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool RenameNoReplace(const NativePath& folder, std::string_view oldName, std::string_view newName) {
  if (!IsAcceptableName(oldName) || !IsAcceptableName(newName)) return false;
  const NativePath from = JoinPath(folder, oldName);
  const NativePath to = JoinPath(folder, newName);
  RunJournal* journal = ActiveJournal();
  const RunJournal::Ticket ticket = journal != nullptr ? journal->Renaming(from, to) : 0;
  if (RenameUnrecorded(from, to)) return true;
  if (journal != nullptr) journal->Cancel(ticket);
  return false;
}

// Follows a symbolic link: what a save or a time change would write is its target.
bool IsReadOnly(const NativePath& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::string CurrentDirectory() {
  std::string buffer(256, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(std::strlen(buffer.c_str()));
  while (buffer.size() > 1 && buffer.back() == kPathSeparator) buffer.pop_back();
  return EngineOf(buffer);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder);
  path += kPathSeparator;
  path.append(name);
  return path;
}

}  // namespace platform
