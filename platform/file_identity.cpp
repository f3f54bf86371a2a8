#include "platform/file_identity.h"

#include <sys/stat.h>

namespace platform {

std::optional<FileIdentity> IdentityOf(const NativePath& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace platform
