#include "fileset/file_sort.h"

#include <algorithm>
#include <charconv>
#include <numeric>

#include "platform/file_system.h"

namespace fileset {
namespace {

std::int64_t SizeOf(const std::string& cell) {
  std::int64_t value = 0;
  std::from_chars(cell.data(), cell.data() + cell.size(), value);
  return value;
}

std::vector<int> OrderBySize(const std::vector<FileRow>& rows, bool ascending) {
  std::vector<std::int64_t> sizes(rows.size());
  for (std::size_t i = 1; i < rows.size(); ++i) sizes[i] = SizeOf(rows[i][kSizeColumn]);
  std::vector<int> order(rows.size() - 1);
  std::iota(order.begin(), order.end(), 1);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return ascending ? sizes[a] < sizes[b] : sizes[b] < sizes[a];
  });
  return order;
}

std::vector<int> OrderByText(const std::vector<FileRow>& rows, int column, bool ascending,
                             const platform::Collator& collator) {
  const bool withName = column == kFolderColumn || column == kTypeColumn;
  // All keys in one buffer: one allocation instead of one per row.
  std::string keys;
  keys.reserve(rows.size() * 48);
  std::vector<std::uint32_t> ends(rows.size(), 0);
  std::string text;
  for (std::size_t row = 1; row < rows.size(); ++row) {
    text.assign(rows[row][column]);
    if (withName) {
      text += platform::kPathSeparator;
      text += rows[row][kNameColumn];
    }
    text += '.';
    text += std::to_string(row);
    collator.AppendLowerSortKey(text, keys);
    ends[row] = static_cast<std::uint32_t>(keys.size());
  }
  const std::string_view all(keys);
  auto key = [&](int row) { return all.substr(ends[row - 1], ends[row] - ends[row - 1]); };
  std::vector<int> order(rows.size() - 1);
  std::iota(order.begin(), order.end(), 1);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  // The row number inside every key makes all keys distinct: descending is the reverse.
  if (!ascending) std::reverse(order.begin(), order.end());
  return order;
}

}  // namespace

void SortFileList(FileList& files, int column, bool ascending, const platform::Collator& collator) {
  auto& rows = files.MutableRowsForSort();
  if (rows.size() < 3 || column < 0 || column >= kColumnCount) return;
  const std::vector<int> order = column == kSizeColumn
                                     ? OrderBySize(rows, ascending)
                                     : OrderByText(rows, column, ascending, collator);
  std::vector<FileRow> sorted;
  sorted.reserve(rows.size());
  sorted.push_back(std::move(rows[0]));
  for (int from : order) sorted.push_back(std::move(rows[from]));
  rows = std::move(sorted);
}

}  // namespace fileset
