#include "content/line_number_table.h"

#include <algorithm>
#include <cstdint>

#include "content/delimited_list.h"
#include "platform/decimal.h"
#include "platform/engine_text.h"

namespace content {
namespace {

// Positions of the lines still in the list: finds the k-th remaining line in
// O(log count), so a long table of entries costs no more than the lines it deletes.
class RemainingLines {
 public:
  explicit RemainingLines(std::size_t count) : tree_(count + 1, 0) {
    for (std::size_t i = 1; i <= count; ++i) {
      tree_[i] += 1;
      const std::size_t parent = i + (i & (~i + 1));
      if (parent <= count) tree_[parent] += tree_[i];
    }
    for (std::size_t step = 1; step <= count; step <<= 1) top_ = step;
  }
  // 0-based index of the k-th (1-based) remaining line; k must be within the count.
  std::size_t Find(std::size_t k) const {
    std::size_t pos = 0;
    for (std::size_t step = top_; step != 0; step >>= 1) {
      if (pos + step < tree_.size() && tree_[pos + step] < k) {
        pos += step;
        k -= tree_[pos];
      }
    }
    return pos;
  }
  void Remove(std::size_t index) {
    for (std::size_t i = index + 1; i < tree_.size(); i += i & (~i + 1)) --tree_[i];
  }

 private:
  std::vector<std::size_t> tree_;
  std::size_t top_ = 0;
};

}  // namespace

std::vector<LineRange> ParseLineNumbers(std::string_view typed) {
  std::vector<LineRange> table;
  const std::string_view text = platform::TrimBlanks(typed);
  if (text.empty()) return table;
  for (const std::string& raw : SplitDelimitedList(text, ',', '"')) {
    const std::string_view item = platform::TrimBlanks(raw);
    if (item.empty()) continue;
    const std::size_t dash = item.find('-');
    if (dash == std::string_view::npos || dash == 0) {
      const int n = platform::ParseInteger(item);
      table.push_back({n, n});
      continue;
    }
    const int a = platform::ParseInteger(item.substr(0, dash));
    const int b = platform::ParseInteger(item.substr(dash + 1));
    table.push_back({std::min(a, b), std::max(a, b)});
  }
  return table;
}

std::vector<bool> LinesKeptAfterDeleting(const std::vector<LineRange>& table, std::size_t count) {
  std::vector<bool> keep(count, true);
  // Deleting c from last down to first, skipping c beyond the end, removes the
  // remaining lines max(first, 1) .. min(last, remaining): one block per entry.
  // While every block lies below all earlier ones (the usual ascending list), the
  // remaining positions are still the original ones.
  std::size_t remaining = count;
  std::size_t lowestDeleted = count + 1;  // 1-based original number
  bool shifted = false;
  std::vector<std::pair<std::size_t, std::size_t>> blocks;  // remaining positions, in order applied
  for (auto entry = table.rbegin(); entry != table.rend(); ++entry) {
    if (entry->last < 1) continue;
    const auto from = static_cast<std::size_t>(std::max(entry->first, 1));
    const std::size_t to = std::min(static_cast<std::size_t>(entry->last), remaining);
    if (from > to) continue;
    if (to >= lowestDeleted) shifted = true;
    lowestDeleted = std::min(lowestDeleted, from);
    blocks.emplace_back(from, to);
    remaining -= to - from + 1;
  }
  if (!shifted) {
    for (const auto& [from, to] : blocks)
      std::fill(keep.begin() + static_cast<std::ptrdiff_t>(from - 1),
                keep.begin() + static_cast<std::ptrdiff_t>(to), false);
    return keep;
  }
  RemainingLines lines(count);
  for (const auto& [from, to] : blocks) {
    for (std::size_t c = to; c >= from; --c) {
      const std::size_t index = lines.Find(c);
      keep[index] = false;
      lines.Remove(index);
    }
  }
  return keep;
}

}  // namespace content
