#pragma once
// A change that a file-operation run makes to one file or folder, as a value: worked
// out first from the row and the disk, then made by ApplyFileChange, the one place where
// these runs change the disk.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "fileset/file_list.h"
#include "platform/file_attributes.h"
#include "platform/native_path.h"

namespace fileops {

// `folder`/`oldName` becomes `folder`/`newName`; an existing file is never replaced.
// The names are the bytes the file system holds (the new one UTF-8).
struct RenameChange {
  platform::NativePath folder;
  std::string oldName;
  std::string newName;
};

// New access and modification times of a file or folder, with the times it had.
struct TimesChange {
  platform::NativePath path;
  platform::FileTimes before;
  platform::FileTime lastAccess;
  platform::FileTime lastWrite;
};

// The attributes of a file or folder replaced wholesale by `mask`.
struct AttributesChange {
  platform::NativePath path;
  std::uint32_t mask = 0;
};

using FileChange = std::variant<RenameChange, TimesChange, AttributesChange>;

// The rename of row `row`'s file to `newName` (engine text, written as UTF-8). None when
// no file can take that name (empty, a separator, a cut character: the system would
// refuse it) or the file has those bytes already. A name copied from another system (GBK
// bytes) is written again in UTF-8 even when the text shown stays the same.
std::optional<RenameChange> PlanRename(const fileset::FileList& files, int row,
                                       std::string_view newName);

// Makes the change. False when the system refused it (a rename onto an existing name or
// to a name it does not take, a path that vanished): the path is then as it was.
bool ApplyFileChange(const FileChange& change);

}  // namespace fileops
