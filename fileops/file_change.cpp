#include "fileops/file_change.h"

#include "platform/file_system.h"

namespace fileops {
namespace {

struct Apply {
  bool operator()(const RenameChange& c) const {
    return platform::RenameNoReplace(c.folder, c.oldName, c.newName);
  }
  bool operator()(const TimesChange& c) const {
    return platform::WriteFileTimes(c.path, c.lastAccess, c.lastWrite);
  }
  bool operator()(const AttributesChange& c) const {
    return platform::SetAttributes(c.path, c.mask);
  }
};

}  // namespace

bool ApplyFileChange(const FileChange& change) { return std::visit(Apply{}, change); }

std::optional<RenameChange> PlanRename(const fileset::FileList& files, int row,
                                       std::string_view newName) {
  std::optional<std::string> newNative = platform::NewNativeName(newName);
  if (!newNative) return std::nullopt;
  std::string oldNative = files.NativeName(row);
  if (*newNative == oldNative) return std::nullopt;  // the same path: nothing to do
  return RenameChange{files.NativeFolder(row), std::move(oldNative), std::move(*newNative)};
}

}  // namespace fileops
