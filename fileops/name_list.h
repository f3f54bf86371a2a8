#pragma once
// The list files of a rename template: ${File(path)} gives each row a new base name
// from one line, ${File2(path)} a replacement "old part, separator, new part" to make
// in the old base name. Lines follow the grid's row index, not the count of marked rows.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fileops {

enum class ListMode { None, File, File2 };

struct NameList {
  ListMode mode = ListMode::None;
  std::vector<std::string> lines;  // engine text, read for the run
};

// The list file named by the template, found first as given (relative to the current
// directory) and then in `programFolder`; a file found under neither name gives no
// lines, and so does one that is no regular file (a pipe, a device) or is larger than
// 64 MiB. File2 wins over File. `typed` is the template as typed, trimmed but not
// lower-cased: the path keeps its letter case, which file names here depend on.
NameList LoadNameList(std::string_view typed, std::string_view programFolder);

// The path of the first item that opens with `open` ("${file(" or "${file2(", letter
// case ignored): the text after `open` up to the item's last two characters, the item
// ending at the first "}" after it. Empty when there is no such item.
std::optional<std::string> ListFilePath(std::string_view typed, std::string_view open);

// The lines of a file's bytes: broken at CR LF, a lone LF or a lone CR, no line after a
// final break, nothing from the first zero byte on.
std::vector<std::string> SplitLines(std::string_view bytes);

// The new base of row `row` (from 1) in a list mode, or empty when the list has no line
// for it: the run stops there. An empty line (after trimming) keeps the old base.
std::optional<std::string> ListedBaseName(const NameList& list, int row, std::string_view oldBase);

// A File2 line applied to a base name: the line is split at its first TAB, else its
// first ";", else ":", else space; every occurrence of the trimmed old part is replaced
// by the trimmed new part, letter case ignored. Without a separator the base stays.
std::string ReplaceByListLine(std::string_view oldBase, std::string_view line);

}  // namespace fileops
