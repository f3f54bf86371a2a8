#pragma once
// The folder search: every file under one or more folders that matches one or more
// name patterns, depth first, optionally with subfolders and size and date filters.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fileset/file_list.h"
#include "platform/file_system.h"
#include "platform/host.h"

namespace fileset {

inline constexpr std::string_view kEmptyPattern = "文件类型为空,请设置好后再试！";

// Directory-entry attribute masks: an entry with a bit outside kFileMask is not listed,
// nor is a bare folder; a subfolder with a bit outside kFolderMask is not entered.
inline constexpr std::uint32_t kFileMask = 0x20BF;
inline constexpr std::uint32_t kFolderMask = 0x2016;

enum class DateKind { LastWrite = 0, Creation = 1, LastAccess = 2 };

// The filter fields, read afresh at every folder level: a person may change them while
// the search runs.
struct SearchFilters {
  bool subfolders = true;
  bool bySize = false;
  std::int64_t minSize = 0, maxSize = 0;  // bytes, both inclusive
  bool byDate = false;
  DateKind dateKind = DateKind::LastWrite;
  int minDay = 0, maxDay = 0;  // platform::DayNumber, both inclusive
};

// What the search needs from the window besides the host.
class SearchControls {
 public:
  virtual ~SearchControls() = default;
  // Throws platform::CommandError when a size bound is not a number.
  virtual SearchFilters ReadFilters() = 0;
  virtual bool StopRequested() = 0;
  // Searching: search button off, stop button on, stop flag cleared, busy cursor.
  // Idle: the reverse, normal cursor.
  virtual void SetSearching(bool searching) = 0;
};

// The row of one file found in `folder`: name, folder, size, creation and last-write
// times, extension.
FileRow FileRowOf(std::string folder, platform::DirEntry&& entry);

// Folders separated by ";", each trimmed; an empty last piece is dropped, but an empty
// text gives one empty folder.
std::vector<std::string> SplitSearchFolders(std::string_view text);
// Patterns separated by ";", kept exactly as written; the last piece always counts.
std::vector<std::string> SplitSearchPatterns(std::string_view text);

// Reads a size bound: a decimal number (sign, digits, fraction, exponent, surrounding
// blanks allowed), truncated toward zero. Throws the conversion error otherwise.
std::int64_t ParseSizeBound(std::string_view engineText);

// The whole search command. The list is emptied first (marks stay); the search counter
// climbs as folders are finished and ends at the number of file rows.
void RunSearch(FileList& files, std::string_view folderText, std::string_view patternText,
               SearchControls& controls, platform::Host& host);

}  // namespace fileset
