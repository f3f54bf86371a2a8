#include "fileset/file_list.h"

#include "platform/code_page.h"
#include "platform/file_system.h"

namespace fileset {

FileList::FileList() : rows_(2), natives_(2) {}

void FileList::AppendFileRow(FileRow row, NativeNames natives) {
  if (!rows_.back()[kNameColumn].empty()) {
    rows_.emplace_back();
    natives_.emplace_back();
  }
  rows_.back() = std::move(row);
  natives_.back() = natives.folder || natives.name
                        ? std::make_shared<const NativeNames>(std::move(natives))
                        : nullptr;
}

void FileList::SetCell(int row, int column, std::string text) {
  rows_[row][column] = std::move(text);
  const std::shared_ptr<const NativeNames>& natives = natives_[row];
  if (natives == nullptr || (column != kNameColumn && column != kFolderColumn)) return;
  NativeNames kept = *natives;
  (column == kNameColumn ? kept.name : kept.folder).reset();
  natives_[row] = kept.folder || kept.name ? std::make_shared<const NativeNames>(kept) : nullptr;
}

void FileList::Reset() {
  rows_.resize(2);
  rows_[1] = FileRow{};
  natives_.assign(2, nullptr);
}

void FileList::RemoveRow(int row) {
  if (row < 1 || row >= RowCount()) return;
  if (RowCount() == 2) {
    rows_[1] = FileRow{};
    natives_[1] = nullptr;
    return;
  }
  rows_.erase(rows_.begin() + row);
  natives_.erase(natives_.begin() + row);
}

void FileList::Reorder(const std::vector<int>& order) {
  std::vector<FileRow> rows;
  std::vector<std::shared_ptr<const NativeNames>> natives;
  rows.reserve(rows_.size());
  natives.reserve(rows_.size());
  rows.push_back(std::move(rows_[0]));
  natives.push_back(nullptr);
  for (const int from : order) {
    rows.push_back(std::move(rows_[from]));
    natives.push_back(std::move(natives_[from]));
  }
  rows_ = std::move(rows);
  natives_ = std::move(natives);
}

std::string FileList::FullPath(int row) const {
  return platform::JoinPath(rows_[row][kFolderColumn], rows_[row][kNameColumn]);
}

platform::NativePath FileList::NativeFolder(int row) const {
  const NativeNames* natives = natives_[row].get();
  if (natives != nullptr && natives->folder) return platform::NativePath(*natives->folder);
  return platform::NativeOf(rows_[row][kFolderColumn]);
}

std::string FileList::NativeName(int row) const {
  const NativeNames* natives = natives_[row].get();
  if (natives != nullptr && natives->name) return *natives->name;
  return platform::NativeBytesOf(rows_[row][kNameColumn]);
}

platform::NativePath FileList::NativeFullPath(int row) const {
  // Built in one piece: a run asks for it once for every row.
  const NativeNames* natives = natives_[row].get();
  const std::string& folder = rows_[row][kFolderColumn];
  const std::string& name = rows_[row][kNameColumn];
  const bool keptFolder = natives != nullptr && natives->folder;
  const bool keptName = natives != nullptr && natives->name;
  if (!keptFolder && !keptName && platform::IsAscii(folder) && platform::IsAscii(name)) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append(1, platform::kPathSeparator).append(name);
    return platform::NativePath(std::move(path));
  }
  return platform::JoinPath(NativeFolder(row), NativeName(row));
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

std::optional<std::string> KeptBytes(std::string_view shown, std::string_view native) {
  if (platform::IsAscii(native) && shown == native) return std::nullopt;
  if (platform::NativeBytesOf(shown) == native) return std::nullopt;
  return std::string(native);
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
