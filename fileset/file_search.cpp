#include "fileset/file_search.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/code_page.h"
#include "platform/engine_text.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/file_time.h"

namespace fileset {
namespace {

class FolderWalk {
 public:
  FolderWalk(FileList& files, SearchControls& controls, platform::Host& host, std::string_view root,
             std::string_view pattern)
      : files_(files), controls_(controls), host_(host), root_(root), pattern_(pattern) {}

  // `sub` is the folder below the root as shown, `nativeSub` its bytes.
  void Walk(const std::string& sub, const std::string& nativeSub) {
    const SearchFilters filters = controls_.ReadFilters();
    if (pattern_.empty()) return;
    const std::string base(platform::TrimBlanks(root_));
    const std::string folder = sub.empty() ? base : platform::JoinPath(base, sub);
    // An empty folder stands for the root folder, and the rows keep the empty folder.
    const platform::NativePath nativeBase = platform::NativeOf(base);
    const platform::NativePath nativeFolder =
        sub.empty() ? nativeBase : platform::JoinPath(nativeBase, nativeSub);
    // The folder cell leads to the folder by its UTF-8, unless a name on the way is not
    // UTF-8: then the rows keep the folder's bytes.
    const std::optional<std::string> keptFolder =
        nativeSub.empty() ? std::nullopt : KeptBytes(folder, nativeFolder.bytes());

    // One read of the folder gives both passes their entries.
    platform::FolderListing listing = platform::ListFolderAndSubfolders(nativeFolder, pattern_);
    for (platform::DirEntry& entry : listing.entries) {
      if (controls_.StopRequested()) break;
      host_.ProcessMessages();
      if (!Accepts(entry, filters)) continue;
      NativeNames natives{keptFolder, KeptBytes(entry.name, entry.NativeName())};
      files_.AppendFileRow(FileRowOf(folder, std::move(entry)), std::move(natives));
    }
    if (filters.subfolders) {
      for (const platform::SubfolderEntry& entry : listing.subfolders) {
        if (controls_.StopRequested()) break;
        host_.ProcessMessages();
        if ((entry.attributes & ~kFolderMask) != 0 || entry.name == "." || entry.name == "..")
          continue;
        Walk(sub.empty() ? entry.name : platform::JoinPath(sub, entry.name),
             nativeSub.empty() ? std::string(entry.NativeName())
                               : platform::JoinPath(nativeSub, entry.NativeName()));
      }
    }
    host_.WriteCounter(platform::Counter::Search, files_.FileRowCount());
  }

 private:
  static bool Accepts(const platform::DirEntry& entry, const SearchFilters& filters) {
    if ((entry.attributes & kFileMask) == platform::kDirectory) return false;
    if ((entry.attributes & ~kFileMask) != 0) return false;
    if (filters.bySize && (entry.size < filters.minSize || entry.size > filters.maxSize))
      return false;
    if (filters.byDate) {
      const platform::FileTime& time = filters.dateKind == DateKind::Creation     ? entry.creation
                                       : filters.dateKind == DateKind::LastAccess ? entry.lastAccess
                                                                                  : entry.lastWrite;
      const int day = platform::DayNumber(platform::ToLocal(time));
      if (day < filters.minDay || day > filters.maxDay) return false;
    }
    return true;
  }

  FileList& files_;
  SearchControls& controls_;
  platform::Host& host_;
  std::string_view root_;
  std::string_view pattern_;
};

// Leaves the search buttons and cursor as they were before the search, however it ends.
class SearchingScope {
 public:
  explicit SearchingScope(SearchControls& controls) : controls_(controls) {
    controls_.SetSearching(true);
  }
  ~SearchingScope() { controls_.SetSearching(false); }
  SearchingScope(const SearchingScope&) = delete;
  SearchingScope& operator=(const SearchingScope&) = delete;

 private:
  SearchControls& controls_;
};

}  // namespace

FileRow FileRowOf(std::string folder, platform::DirEntry&& entry) {
  FileRow row;
  row[kSizeColumn] = std::to_string(entry.size);
  row[kCreatedColumn] = platform::FormatFileTime(entry.creation, platform::kListTimeFormat);
  row[kModifiedColumn] = platform::FormatFileTime(entry.lastWrite, platform::kListTimeFormat);
  row[kTypeColumn] = std::string(ExtensionOf(entry.name));
  row[kFolderColumn] = std::move(folder);
  row[kNameColumn] = std::move(entry.name);
  return row;
}

std::vector<std::string> SplitSearchFolders(std::string_view text) {
  text = platform::TrimBlanks(text);
  std::vector<std::string> folders;
  std::size_t start = 0;
  while (true) {
    const auto semicolon = text.find(';', start);
    if (semicolon == std::string_view::npos) {
      const auto last = platform::TrimBlanks(text.substr(start));
      if (!last.empty() || folders.empty()) folders.emplace_back(last);
      break;
    }
    folders.emplace_back(platform::TrimBlanks(text.substr(start, semicolon - start)));
    start = semicolon + 1;
  }
  return folders;
}

std::vector<std::string> SplitSearchPatterns(std::string_view text) {
  std::vector<std::string> patterns;
  std::size_t start = 0;
  while (true) {
    const auto semicolon = text.find(';', start);
    if (semicolon == std::string_view::npos) {
      patterns.emplace_back(text.substr(start));
      break;
    }
    patterns.emplace_back(text.substr(start, semicolon - start));
    start = semicolon + 1;
  }
  return patterns;
}

std::int64_t ParseSizeBound(std::string_view engineText) {
  std::string_view text = platform::TrimBlanks(engineText);
  // from_chars reads "." as the decimal point whatever the process locale says, but
  // takes no "+" sign; it also reads "inf" and "nan", which a bound is not.
  if (!text.empty() && text.front() == '+' && (text.size() == 1 || text[1] != '-'))
    text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  const bool decimal = !text.empty() && error == std::errc() && end == text.data() + text.size() &&
                       text.find_first_not_of("0123456789-.eE") == std::string_view::npos;
  if (!decimal || !std::isfinite(value)) platform::ThrowInvalidFloat(engineText);
  constexpr double kLimit = 9.2e18;
  if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (value <= -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);
}

void RunSearch(FileList& files, std::string_view folderText, std::string_view patternText,
               SearchControls& controls, platform::Host& host) {
  if (platform::TrimBlanks(patternText).empty()) {
    host.ShowError(kEmptyPattern);
    return;
  }
  SearchingScope searching(controls);
  const std::vector<std::string> folders = SplitSearchFolders(folderText);
  files.Reset();
  for (const std::string& pattern : SplitSearchPatterns(platform::TrimBlanks(patternText))) {
    for (const std::string& folder : folders) {
      if (controls.StopRequested()) break;
      FolderWalk(files, controls, host, folder, pattern).Walk("", "");
    }
  }
  host.WriteCounter(platform::Counter::Search, files.FileRowCount());
}

}  // namespace fileset
