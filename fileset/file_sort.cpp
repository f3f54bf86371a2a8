#include "fileset/file_sort.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <numeric>
#include <thread>

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

// Sort keys of a text column, all in one buffer. Rows are ordered by their keys; the
// sort moves small items that carry the first sixteen bytes after the prefix all keys
// share, so most comparisons need no look at the buffer (folders and dates share long
// prefixes).
class TextKeys {
 public:
  TextKeys(const std::vector<FileRow>& rows, int column, const platform::Collator& collator) {
    const std::size_t skipped = SharedFolderPrefix(rows, column);
    ends_.assign(rows.size(), 0);
    // Making the keys is most of a sort's time: a large list is split in two halves
    // made at the same time, each with a collator of its own.
    const std::size_t middle = rows.size() < 20000 ? rows.size() : rows.size() / 2;
    std::string second;
    std::thread helper;
    std::unique_ptr<platform::Collator> clone;
    if (middle < rows.size()) {
      clone = collator.Clone();
      helper = std::thread(
          [&] { MakeKeys(rows, column, skipped, *clone, middle, rows.size(), second); });
    }
    MakeKeys(rows, column, skipped, collator, 1, middle, keys_);
    if (helper.joinable()) {
      helper.join();
      const auto offset = static_cast<std::uint32_t>(keys_.size());
      keys_ += second;
      for (std::size_t row = middle; row < rows.size(); ++row) ends_[row] += offset;
    }
    shared_ = SharedPrefixLength();
  }

  // The length of the leading folders that every cell of the column shares, up to and
  // including a separator: the folder a search started from. Texts that all begin the
  // same way compare as the rest of them does (the collator itself skips a common
  // prefix), and a separator is a safe place to cut: no letter pairs across it and it
  // changes no letter's case. Leaving it out makes the keys much cheaper.
  static std::size_t SharedFolderPrefix(const std::vector<FileRow>& rows, int column) {
    if (rows.size() < 2) return 0;
    const std::string& first = rows[1][column];
    std::size_t shared = first.size();
    for (std::size_t row = 2; row < rows.size() && shared > 0; ++row) {
      const std::string& cell = rows[row][column];
      std::size_t same = 0;
      while (same < shared && same < cell.size() && cell[same] == first[same]) ++same;
      shared = same;
    }
    // A separator byte is never part of a double-byte character, so this is a boundary.
    const std::size_t separator =
        first.rfind(platform::kPathSeparator, shared == 0 ? 0 : shared - 1);
    return shared == 0 || separator == std::string::npos ? 0 : separator + 1;
  }

  // The keys of rows [from, to) appended to `keys`, their ends (relative to `keys`) noted.
  void MakeKeys(const std::vector<FileRow>& rows, int column, std::size_t skipped,
                const platform::Collator& collator, std::size_t from, std::size_t to,
                std::string& keys) {
    const bool withName = column == kFolderColumn || column == kTypeColumn;
    keys.reserve((to - from) * 48);
    std::string text;
    for (std::size_t row = from; row < to; ++row) {
      text.assign(rows[row][column], skipped);
      if (withName) {
        text += platform::kPathSeparator;
        text += rows[row][kNameColumn];
      }
      text += '.';
      text += std::to_string(row);
      collator.AppendLowerSortKey(text, keys);
      ends_[row] = static_cast<std::uint32_t>(keys.size());
    }
  }

  std::vector<int> Order() const {
    struct Item {
      std::uint64_t head, next;
      int row;
    };
    std::vector<Item> items;
    items.reserve(ends_.size() - 1);
    for (int row = 1; row < static_cast<int>(ends_.size()); ++row)
      items.push_back({Bytes(row, shared_), Bytes(row, shared_ + 8), row});
    std::sort(items.begin(), items.end(), [this](const Item& a, const Item& b) {
      if (a.head != b.head) return a.head < b.head;
      if (a.next != b.next) return a.next < b.next;
      return Tail(a.row) < Tail(b.row);
    });
    std::vector<int> order;
    order.reserve(items.size());
    for (const Item& item : items) order.push_back(item.row);
    return order;
  }

 private:
  std::string_view Key(int row) const {
    return std::string_view(keys_).substr(ends_[row - 1], ends_[row] - ends_[row - 1]);
  }
  std::string_view Tail(int row) const {
    const std::string_view key = Key(row);
    return shared_ + 16 < key.size() ? key.substr(shared_ + 16) : std::string_view{};
  }
  // Eight key bytes from `at` as one big-endian number; zeros past the end, which sort a
  // shorter key first because sort keys hold no zero byte.
  std::uint64_t Bytes(int row, std::size_t at) const {
    const std::string_view key = Key(row);
    std::uint64_t value = 0;
    for (std::size_t i = at; i < at + 8; ++i)
      value = value << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return value;
  }
  std::size_t SharedPrefixLength() const {
    const int rows = static_cast<int>(ends_.size()) - 1;
    if (rows < 1) return 0;
    const std::string_view first = Key(1);
    std::size_t shared = first.size();
    for (int row = 2; row <= rows && shared > 0; ++row) {
      const std::string_view key = Key(row);
      std::size_t same = 0;
      while (same < shared && same < key.size() && key[same] == first[same]) ++same;
      shared = same;
    }
    return shared;
  }

  std::string keys_;
  std::vector<std::uint32_t> ends_;
  std::size_t shared_ = 0;
};

std::vector<int> OrderByText(const std::vector<FileRow>& rows, int column, bool ascending,
                             const platform::Collator& collator) {
  std::vector<int> order = TextKeys(rows, column, collator).Order();
  // The row number in every key makes all keys distinct, so descending is the reverse.
  if (!ascending) std::reverse(order.begin(), order.end());
  return order;
}

}  // namespace

void SortFileList(FileList& files, int column, bool ascending, const platform::Collator& collator) {
  const std::vector<FileRow>& rows = files.Rows();
  if (rows.size() < 3 || column < 0 || column >= kColumnCount) return;
  files.Reorder(column == kSizeColumn ? OrderBySize(rows, ascending)
                                      : OrderByText(rows, column, ascending, collator));
}

}  // namespace fileset
