#pragma once
// Which file a path names, however the path is written: its device and inode.

#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/native_path.h"

namespace platform {

struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  auto operator<=>(const FileIdentity&) const = default;
};

// The identity of what `path` names itself (a symbolic link is not
// followed); empty when nothing is there.
std::optional<FileIdentity> IdentityOf(const NativePath& path);

}  // namespace platform
