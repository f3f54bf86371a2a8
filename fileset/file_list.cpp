#include "fileset/file_list.h"

#include "platform/file_system.h"

namespace fileset {

FileList::FileList() : rows_(2) {}

void FileList::AppendFileRow(FileRow row) {
  if (!rows_.back()[kNameColumn].empty()) rows_.emplace_back();
  rows_.back() = std::move(row);
}

void FileList::Reset() {
  rows_.resize(2);
  rows_[1] = FileRow{};
}

void FileList::RemoveRow(int row) {
  if (row < 1 || row >= RowCount()) return;
  if (RowCount() == 2) {
    rows_[1] = FileRow{};
    return;
  }
  rows_.erase(rows_.begin() + row);
}

std::string FileList::FullPath(int row) const {
  return platform::JoinPath(rows_[row][kFolderColumn], rows_[row][kNameColumn]);
}

void FileList::SetMark(int row, bool marked) {
  if (row < 1) return;  // the header is never marked
  if (row >= static_cast<int>(marks_.size())) {
    if (!marked) return;
    marks_.resize(static_cast<std::size_t>(row) + 1, 0);
  }
  marks_[row] = marked ? 1 : 0;
}

FileList::TwoMarked FileList::FindFirstTwoMarked() const {
  TwoMarked result;
  for (int row = 1; row < RowCount(); ++row) {
    if (!IsMarked(row)) continue;
    if (result.first == 0) {
      result.first = row;
    } else {
      result.second = row;
      result.found = true;
      break;
    }
  }
  return result;
}

std::string_view BaseNameOf(std::string_view name) {
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string_view ExtensionOf(std::string_view name) {
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

}  // namespace fileset
