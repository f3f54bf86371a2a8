#pragma once
// The file system as the batch modes see it. Paths are native bytes (native_path.h); the
// names listed come with the engine text shown of them. A full path is folder +
// kPathSeparator + name; the empty folder is the root.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_time.h"
#include "platform/native_path.h"

namespace platform {

inline constexpr char kPathSeparator = '/';

// Attribute bits as the batch modes know them.
enum Attribute : std::uint32_t {
  kReadOnly = 0x1,
  kHidden = 0x2,
  kSystem = 0x4,
  kVolumeLabel = 0x8,
  kDirectory = 0x10,
  kArchive = 0x20,
  kDevice = 0x40,
  kNormal = 0x80,
  kReparsePoint = 0x400,
  kNotContentIndexed = 0x2000,
};

// The extended attribute that keeps the DOS attribute word, in Samba's text form "0xNN"
// (which Samba shows to Windows clients). Reading, setting and saving all use this name.
inline constexpr char kDosAttributeName[] = "user.DOSATTRIB";

// Attributes on this platform: read-only is the absence of every write permission bit;
// hidden, system and archive come from the DOS attribute word kept in the extended
// attribute kDosAttributeName ("0xNN") when present, else hidden from a leading "." and
// archive for a regular file. A symbolic link is a reparse point (never followed); a
// device, pipe or socket is a device.
struct DirEntry {
  std::string name;         // engine text shown of the name (EngineOf), no folder
  std::string nativeBytes;  // the name's bytes where they are not `name`; empty for ASCII
  std::string_view NativeName() const { return nativeBytes.empty() ? name : nativeBytes; }
  std::uint32_t attributes = 0;
  std::int64_t size = 0;
  FileTime creation;  // birth time where the file system keeps one, else the change time
  FileTime lastAccess;
  FileTime lastWrite;
};

// The entries of `folder` whose names match the wildcard `pattern` (wildcard.h), in
// name order (ordinal, letter case ignored), without "." and "..". A folder that does
// not exist or cannot be read gives no entries. Only matching entries are examined.
std::vector<DirEntry> ListFolder(const NativePath& folder, std::string_view pattern);

// The names of the subfolders of `folder` (real folders only, no links), in name order,
// with their attributes.
struct SubfolderEntry {
  std::string name;         // engine text shown
  std::string nativeBytes;  // as in DirEntry
  std::string_view NativeName() const { return nativeBytes.empty() ? name : nativeBytes; }
  std::uint32_t attributes = 0;
};
std::vector<SubfolderEntry> ListSubfolders(const NativePath& folder);

// Both listings of one folder from a single read of it: what ListFolder(folder, pattern)
// and ListSubfolders(folder) return. A search into subfolders needs both for every
// folder, and reading a large folder twice costs a good part of the search.
struct FolderListing {
  std::vector<DirEntry> entries;
  std::vector<SubfolderEntry> subfolders;
};
FolderListing ListFolderAndSubfolders(const NativePath& folder, std::string_view pattern);

// The directory entry of one path; empty when it does not exist.
std::optional<DirEntry> ReadEntry(const NativePath& path);

// Renames `folder`/`oldName` to `folder`/`newName` (native names) without ever replacing
// an existing file. Refuses (false) a name that is empty, "." or "..", or holds a path
// separator or a NUL byte, and a rename the system refuses; the file then stays as it was.
bool RenameNoReplace(const NativePath& folder, std::string_view oldName, std::string_view newName);

// True when the DOS read-only bit is set (no write permission bit at all).
bool IsReadOnly(const NativePath& path);

// The process's current directory, engine text, without a trailing separator.
std::string CurrentDirectory();

// Engine text of a full path, as the list and templates show it.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace platform
