#pragma once
// The file list: a header row and one row per candidate file, each row six texts, and
// beside it the marks. Row numbers are the grid's: row 0 is the header, data rows
// start at 1. The empty list is the header plus one data row whose cells are empty.
// The cells are engine text, as shown; every operation on a row's file goes by the bytes
// the file system holds for its folder and name (NativePath), which the list keeps where
// they are not simply the UTF-8 of the cells (names copied from Chinese systems).

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/native_path.h"

namespace fileset {

enum Column : int {
  kNameColumn = 0,      // file name with extension
  kFolderColumn = 1,    // folder without a trailing separator
  kSizeColumn = 2,      // size in bytes, decimal
  kCreatedColumn = 3,   // creation time, local, "yyyy-mm-dd hh:nn:ss"
  kModifiedColumn = 4,  // last-write time, same format
  kTypeColumn = 5,      // extension with its leading "."
  kColumnCount = 6,
};

using FileRow = std::array<std::string, kColumnCount>;  // engine text

// The bytes of a row's folder and name where they are not the UTF-8 of its cells.
struct NativeNames {
  std::optional<std::string> folder;
  std::optional<std::string> name;
};

// `native` when the UTF-8 of `shown` (engine text) is not it, so that a list must keep it.
std::optional<std::string> KeptBytes(std::string_view shown, std::string_view native);

class FileList {
 public:
  FileList();  // header of empty texts, row 1 empty

  // Rows including the header; never below 2 (see RemoveRow).
  int RowCount() const { return static_cast<int>(rows_.size()); }
  const FileRow& Row(int row) const { return rows_[row]; }
  const std::string& Cell(int row, int column) const { return rows_[row][column]; }
  // A new name or folder cell names the file by the UTF-8 of the new text (a rename
  // writes new names so).
  void SetCell(int row, int column, std::string text);

  // True exactly when the name cell of row 1 is empty.
  bool IsEmpty() const { return rows_[1][kNameColumn].empty(); }
  // Data rows that hold a file: 0 for the empty list.
  int FileRowCount() const { return IsEmpty() ? 0 : RowCount() - 1; }

  // The one way a file enters the list: a new row at the bottom, unless the last row's
  // name cell is empty, in which case that row is filled. `natives` gives the bytes of
  // the folder or the name where they are not the UTF-8 of the cell.
  void AppendFileRow(FileRow row, NativeNames natives = {});
  // Back to the empty list. Marks stay where they are.
  void Reset();
  // Removes data row `row`; the rows below move up, the marks stay at their positions.
  // Removing the only data row leaves the empty list, so the header still reads as the
  // header and IsEmpty() holds.
  void RemoveRow(int row);

  // The full path of a data row as shown: folder, separator, name.
  std::string FullPath(int row) const;
  // The bytes the file system holds for the row's folder, name and full path.
  platform::NativePath NativeFolder(int row) const;
  std::string NativeName(int row) const;
  platform::NativePath NativeFullPath(int row) const;
  // The bytes kept for the row where they are not the UTF-8 of its cells; null when both
  // are. Two rows name the same path exactly when their cells and these are equal.
  const NativeNames* KeptNativeNames(int row) const { return natives_[row].get(); }

  // Marks belong to row positions, not to files. Any position may hold a mark, also
  // beyond the last row; it shows again when the list grows back over it.
  bool IsMarked(int row) const { return row < static_cast<int>(marks_.size()) && marks_[row]; }
  void SetMark(int row, bool marked);
  void FlipMark(int row) { SetMark(row, !IsMarked(row)); }

  // The first two marked data rows, scanning from row 1. `found` only when both exist;
  // with one marked row only `first` is set. Rows are 0 when absent.
  struct TwoMarked {
    bool found = false;
    int first = 0;
    int second = 0;
  };
  TwoMarked FindFirstTwoMarked() const;

  // Sorting reorders the data rows (texts and the files they name) and nothing else:
  // `order` lists the data rows by their numbers in their new order.
  const std::vector<FileRow>& Rows() const { return rows_; }
  void Reorder(const std::vector<int>& order);

 private:
  std::vector<FileRow> rows_;
  // Beside each row: null where its folder and name are the UTF-8 of its cells, which is
  // nearly always, so most rows cost no more than a pointer.
  std::vector<std::shared_ptr<const NativeNames>> natives_;
  std::vector<std::uint8_t> marks_;
};

// Base name and extension of a file name: the extension is the last "." and what
// follows it (empty without a "."), the base name the rest.
std::string_view BaseNameOf(std::string_view name);
std::string_view ExtensionOf(std::string_view name);

}  // namespace fileset
