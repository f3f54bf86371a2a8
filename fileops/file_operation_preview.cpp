#include "fileops/file_operation_preview.h"

#include <set>
#include <string>

#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "platform/file_time.h"

namespace fileops {
namespace {

using fileset::PreviewRow;
using fileset::PreviewStatus;

// The names of the run's folders as they will stand once the earlier rows are renamed.
class NamesAfterRun {
 public:
  // Why `change` could not be made after the renames before it; empty when it can.
  std::string_view Refusal(const RenameChange& change) const {
    const std::string target = Key(change.folder, change.newName);
    if (taken_.contains(target)) return fileset::kSameNewName;
    if (freed_.contains(target)) return {};
    if (platform::IdentityOf(platform::JoinPath(change.folder, change.newName)))
      return fileset::kTargetExists;
    return {};
  }
  void Rename(const RenameChange& change) {
    const std::string old = Key(change.folder, change.oldName);
    taken_.erase(old);
    freed_.insert(old);
    const std::string made = Key(change.folder, change.newName);
    freed_.erase(made);
    taken_.insert(made);
  }

 private:
  static std::string Key(const platform::NativePath& folder, std::string_view name) {
    return platform::JoinPath(folder, name).bytes();
  }
  std::set<std::string> taken_;  // names the run gives
  std::set<std::string> freed_;  // names the run takes away
};

PreviewRow RenameRow(const fileset::FileList& files, int row, const RowPlan& plan,
                     NamesAfterRun& names) {
  PreviewRow shown{row,
                   PreviewStatus::Change,
                   files.FullPath(row),
                   platform::JoinPath(files.Cell(row, fileset::kFolderColumn), plan.wantedName),
                   {}};
  if (!plan.change) {
    const bool same = plan.wantedName == files.Cell(row, fileset::kNameColumn);
    shown.status = same ? PreviewStatus::Same : PreviewStatus::Skip;
    if (!same) shown.reason = fileset::kInvalidName;
    return shown;
  }
  const auto& rename = std::get<RenameChange>(*plan.change);
  if (const std::string_view refusal = names.Refusal(rename); !refusal.empty()) {
    shown.status = PreviewStatus::Skip;
    shown.reason = refusal;
    return shown;
  }
  names.Rename(rename);
  return shown;
}

PreviewRow CannotRead(int row, std::string path) {
  return {row, PreviewStatus::Skip, std::move(path), {}, std::string(fileset::kCannotRead)};
}

// The row of a change of times or attributes; `path` is what is changed, as shown.
PreviewRow ChangeRow(int row, std::string path, const FileChange& change) {
  PreviewRow shown{row, PreviewStatus::Change, std::move(path), {}, {}};
  if (const auto* times = std::get_if<TimesChange>(&change)) {
    const auto text = [](platform::FileTime t) {
      return platform::FormatFileTime(t, platform::kListTimeFormat);
    };
    shown.after = text(times->before.lastWrite) + " -> " + text(times->lastWrite);
    if (times->before.lastWrite.seconds == times->lastWrite.seconds &&
        times->before.lastWrite.nanoseconds == times->lastWrite.nanoseconds &&
        times->before.lastAccess.seconds == times->lastAccess.seconds &&
        times->before.lastAccess.nanoseconds == times->lastAccess.nanoseconds)
      shown.status = PreviewStatus::Same;
    return shown;
  }
  const auto& attributes = std::get<AttributesChange>(change);
  const std::optional<platform::DirEntry> entry = platform::ReadEntry(attributes.path);
  if (!entry) return CannotRead(row, shown.before);
  const std::string before = AttributeLetters(entry->attributes);
  const std::string after = AttributeLetters(attributes.mask);
  shown.after = before + " -> " + after;
  if (before == after) shown.status = PreviewStatus::Same;
  return shown;
}

}  // namespace

std::string AttributeLetters(std::uint32_t attributes) {
  std::string letters = "----";
  if (attributes & platform::kReadOnly) letters[0] = 'R';
  if (attributes & platform::kHidden) letters[1] = 'H';
  if (attributes & platform::kSystem) letters[2] = 'S';
  if (attributes & platform::kArchive) letters[3] = 'A';
  return letters;
}

fileset::Preview PreviewFileOperation(const fileset::FileList& files, platform::Host& host,
                                      FileOperation& operation) {
  fileset::Preview preview;
  NamesAfterRun names;
  // A folder changes once: when the run comes to it again, it sets what it already set.
  std::set<std::string> foldersShown;
  operation.Begin();
  const auto visit = [&](int row) {
    const RowPlan plan = operation.PlanRow(files, row);
    if (plan.endsRun) return false;
    if (operation.Renames()) {
      preview.rows.push_back(RenameRow(files, row, plan, names));
    } else if (plan.change) {
      preview.rows.push_back(ChangeRow(row, files.FullPath(row), *plan.change));
    } else {
      preview.rows.push_back(CannotRead(row, files.FullPath(row)));
    }
    if (operation.folders() == Folders::No) return true;
    const platform::NativePath folder = FolderToChange(files, row);
    if (!foldersShown.insert(folder.bytes()).second) return true;
    std::string shown = files.Cell(row, fileset::kFolderColumn);
    if (shown.empty()) shown = folder.bytes();
    if (const std::optional<FileChange> change = operation.PlanFolder(folder))
      preview.rows.push_back(ChangeRow(row, std::move(shown), *change));
    else
      preview.rows.push_back(CannotRead(row, std::move(shown)));
    return true;
  };
  const auto repeated = [&](int row) {
    preview.rows.push_back({row, PreviewStatus::Skip, files.FullPath(row), files.FullPath(row),
                            std::string(fileset::kRepeatedFile)});
  };
  fileset::WalkMarkedRows(files, host, fileset::MarkedRowsRun::SameFile::ByPath, visit, repeated);
  return preview;
}

}  // namespace fileops
