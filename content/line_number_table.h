#pragma once
// The line-number list of the delete page ("3,5-8"): entries applied from the last
// typed to the first, each on the list as the later ones left it.

#include <cstddef>
#include <string_view>
#include <vector>

namespace content {

struct LineRange {
  int first = 0;  // first <= last; 1-based; may be 0 or negative
  int last = 0;
  bool operator==(const LineRange&) const = default;
};

// Reads the typed list: trimmed, split by the delimited-list rule with "," and '"';
// every item, trimmed and not empty, is a number n, giving (n, n), or "a-b" split at its
// first "-" (not its first byte, so "-3" is the number -3), giving (min, max). A part
// that is not a decimal integer throws "'%s' is not a valid integer value". Any number
// of entries.
std::vector<LineRange> ParseLineNumbers(std::string_view typed);

// Which of `count` lines survive when the entries, from the last to the first, delete
// lines last..first (1-based) of the list as it stands, skipping numbers beyond its
// current end and below 1. keep[i] is line i + 1.
std::vector<bool> LinesKeptAfterDeleting(const std::vector<LineRange>& table, std::size_t count);

}  // namespace content
