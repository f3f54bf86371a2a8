#include "platform/file_identity.h"

#include <sys/stat.h>

#include "platform/code_page.h"

namespace platform {

std::optional<FileIdentity> IdentityOf(std::string_view path) {
  struct stat st;
  if (lstat(EngineToUtf8(path).c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace platform
