#include "fileops/name_list.h"

#include "platform/engine_text.h"
#include "platform/error.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"

namespace fileops {
namespace {

// Far more than any list of names; a larger file is taken for no list at all.
constexpr std::size_t kMostListBytes = std::size_t{64} << 20;

// The lines of the list file at `path`; empty when it is no regular file that can be read
// (a pipe or a device would never end) or it is too large.
std::optional<std::vector<std::string>> ReadListFile(const std::string& path) {
  try {
    const platform::FileBytes file(platform::NativeOf(path), platform::FileBytes::Link::Follow);
    if (file.bytes().size() > kMostListBytes) return std::nullopt;
    return SplitLines(file.bytes());
  } catch (const platform::CommandError&) {
    return std::nullopt;
  }
}

std::vector<std::string> LoadListFile(const std::string& path, std::string_view programFolder) {
  if (path.empty()) return {};
  if (auto lines = ReadListFile(path)) return std::move(*lines);
  std::string_view folder = programFolder;
  while (!folder.empty() && folder.back() == platform::kPathSeparator) folder.remove_suffix(1);
  if (auto lines = ReadListFile(platform::JoinPath(folder, path))) return std::move(*lines);
  return {};
}

}  // namespace

std::optional<std::string> ListFilePath(std::string_view typed, std::string_view open) {
  const std::size_t begin = platform::FindNoCase(typed, open);
  if (begin == std::string_view::npos) return std::nullopt;
  const std::size_t close = platform::FindChar(typed, '}', begin + open.size());
  const std::size_t end = close == std::string_view::npos ? typed.size() : close + 1;
  const std::size_t inner = end - begin - open.size();
  return std::string(typed.substr(begin + open.size(), inner >= 2 ? inner - 2 : 0));
}

NameList LoadNameList(std::string_view typed, std::string_view programFolder) {
  NameList list;
  if (const std::optional<std::string> path = ListFilePath(typed, "${file(")) {
    list.mode = ListMode::File;
    list.lines = LoadListFile(*path, programFolder);
  }
  if (const std::optional<std::string> path = ListFilePath(typed, "${file2(")) {
    list.mode = ListMode::File2;
    list.lines = LoadListFile(*path, programFolder);
  }
  return list;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

std::optional<std::string> ListedBaseName(const NameList& list, int row, std::string_view oldBase) {
  if (row < 1 || static_cast<std::size_t>(row - 1) >= list.lines.size()) return std::nullopt;
  const std::string_view line = platform::TrimBlanks(list.lines[static_cast<std::size_t>(row - 1)]);
  if (line.empty()) return std::string(oldBase);
  if (list.mode == ListMode::File2) return ReplaceByListLine(oldBase, line);
  return std::string(line);
}

std::string ReplaceByListLine(std::string_view oldBase, std::string_view line) {
  std::size_t separator = std::string_view::npos;
  for (const char c : {'\t', ';', ':', ' '}) {
    separator = line.find(c);
    if (separator != std::string_view::npos) break;
  }
  if (separator == std::string_view::npos) return std::string(oldBase);
  const std::string_view oldPart = platform::TrimBlanks(line.substr(0, separator));
  const std::string_view newPart = platform::TrimBlanks(line.substr(separator + 1));
  return platform::ReplaceAllNoCase(oldBase, oldPart, newPart);
}

}  // namespace fileops
