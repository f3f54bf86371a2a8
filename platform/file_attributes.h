#pragma once
// Changing what the dates and attributes modes change: a path's access and modification
// times, and its attributes (the write permission bits and the DOS attribute word in
// user.DOSATTRIB). Paths are native bytes; symbolic links are followed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_time.h"
#include "platform/native_path.h"

namespace platform {

struct FileTimes {
  FileTime creation;  // birth time where the file system keeps one, else the change time
  FileTime lastAccess;
  FileTime lastWrite;
};

// The three times of an existing file or folder; empty when it cannot be examined.
std::optional<FileTimes> ReadFileTimes(const NativePath& path);

// Sets the access and modification times in one call. The creation time cannot be
// set on this platform and is not asked for.
// The DOS attribute word of `path` as stored. Empty when the file has none, or when its
// file system keeps no user attributes (ENOTSUP) and so cannot have one; nullopt when it
// cannot be told whether there is one.
std::optional<std::string> ReadDosAttribute(const std::string& path);

bool WriteFileTimes(const NativePath& path, FileTime lastAccess, FileTime lastWrite);

// The UTC file time of a local date and time, with the zone rules of the moment it
// names (a local time inside a daylight-saving gap moves forward); milliseconds become
// nanoseconds.
FileTime LocalToFileTime(const LocalDateTime& local);

// Writes the DOS attribute word of a path as user.DOSATTRIB in Samba's text form
// ("0x21"); 0 on success, else the errno of the failure.
int WriteDosAttributeWord(const char* nativePath, std::uint32_t word);
using DosWordWriter = int (*)(const char* nativePath, std::uint32_t word);

// Replaces the attributes of a file or folder wholesale by `mask` (read-only, hidden,
// system, archive). Read-only is the absence of every write permission bit: setting it
// clears all of them, clearing it gives the owner the write bit back. The whole DOS word
// (read-only included, and the folder bit for a folder) goes to user.DOSATTRIB. Where
// the file system refuses extended attributes, a mask with hidden or system fails, and
// read-only and archive are carried out by the mode bits alone. On failure the path
// keeps its mode bits. `writeWord` is there for tests of file systems we cannot mount.
bool SetAttributes(const NativePath& path, std::uint32_t mask,
                   DosWordWriter writeWord = WriteDosAttributeWord);

}  // namespace platform
