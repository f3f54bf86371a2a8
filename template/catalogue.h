#pragma once
// The catalogue of the template language: the entries of the window's variable list
// and the template text that picking one of them puts into a template edit.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tmpl {

// The item an entry names: its text up to and including the first "}" that is followed
// by ":" (the description after the colon is dropped); the whole text when there is none.
constexpr std::string_view CatalogueItem(std::string_view entryText) {
  const std::size_t end = entryText.find("}:");
  return end == std::string_view::npos ? entryText : entryText.substr(0, end + 1);
}

// Both texts are UTF-8. `inserted` is the entry's syntax pattern, whose arguments name
// their meaning in words, or the bare item for entries that have no pattern.
struct CatalogueEntry {
  std::string_view text;
  std::string_view inserted;
};

// The entries in list order; the window's list index is the index here.
std::span<const CatalogueEntry> CatalogueEntries();

struct CatalogueInsertion {
  std::string text;
  std::size_t caret = 0;  // byte position just after the inserted text
};

// Puts `insert` into the engine text of a template edit. Without a selection
// (`selectionLength` 0) it goes in at `caret`. Otherwise every occurrence of the
// selected text, letter case ignored, is replaced by it; the selection itself always is,
// even where an occurrence to its left overlaps it, and the caret ends after the text
// that replaced it. Positions are byte offsets on character boundaries; ones past the
// end are taken as the end.
CatalogueInsertion InsertCatalogueText(std::string_view text, std::size_t caret,
                                       std::size_t selectionStart, std::size_t selectionLength,
                                       std::string_view insert);

}  // namespace tmpl
