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

}  // namespace fileops
