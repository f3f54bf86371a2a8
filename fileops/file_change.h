#pragma once
// A change that a file-operation run makes to one file or folder, as a value: worked
// out first from the row and the disk, then made by ApplyFileChange, the one place where
// these runs change the disk.

#include <cstdint>
#include <string>
#include <variant>

#include "platform/file_attributes.h"

namespace fileops {

// `folder`/`oldName` becomes `folder`/`newName`; an existing file is never replaced.
struct RenameChange {
  std::string folder;  // engine text, as the row's folder cell
  std::string oldName;
  std::string newName;
};

// New access and modification times of a file or folder, with the times it had.
struct TimesChange {
  std::string path;
  platform::FileTimes before;
  platform::FileTime lastAccess;
  platform::FileTime lastWrite;
};

// The attributes of a file or folder replaced wholesale by `mask`.
struct AttributesChange {
  std::string path;
  std::uint32_t mask = 0;
};

using FileChange = std::variant<RenameChange, TimesChange, AttributesChange>;

// Makes the change. False when the system refused it (a rename onto an existing name or
// to a name it does not take, a path that vanished): the path is then as it was.
bool ApplyFileChange(const FileChange& change);

}  // namespace fileops
