#include "platform/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {
namespace {

constexpr mode_t kPrivate = 0700;

enum class Found { Usable, Missing, OursWrongMode, Unusable };

Found Inspect(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return errno == ENOENT ? Found::Missing : Found::Unusable;
  if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return Found::Unusable;
  return (st.st_mode & 0777) == kPrivate ? Found::Usable : Found::OursWrongMode;
}

// mkdir's mode passes through the umask, so the mode is set again afterwards.
bool MakePrivate(const std::string& path) {
  if (mkdir(path.c_str(), kPrivate) != 0) return false;
  return chmod(path.c_str(), kPrivate) == 0 && Inspect(path) == Found::Usable;
}

}  // namespace

std::string UsableRuntimeFolder(const std::string& current, const std::string& temp) {
  if (!current.empty()) {
    const Found found = Inspect(current);
    if (found == Found::Usable || (found == Found::Missing && MakePrivate(current))) return current;
  }
  const std::string named = temp + "/runtime-" + std::to_string(geteuid());
  switch (Inspect(named)) {
    case Found::Usable:
      return named;
    case Found::Missing:
      if (MakePrivate(named)) return named;
      break;
    case Found::OursWrongMode:
      // Our own folder, opened up by hand or by an old umask: closing it again is safe.
      if (chmod(named.c_str(), kPrivate) == 0 && Inspect(named) == Found::Usable) return named;
      break;
    case Found::Unusable:
      break;
  }
  // Someone else holds the name (or a link or a file stands there): a folder of our own
  // under a name nobody can predict, left behind like the toolkit's own fallback.
  std::string fresh = temp + "/tessaly-runtime-XXXXXX";
  if (mkdtemp(fresh.data()) == nullptr || chmod(fresh.c_str(), kPrivate) != 0) return {};
  return fresh;
}

void PrepareRuntimeFolder() {
  const char* current = std::getenv("XDG_RUNTIME_DIR");
  const char* temp = std::getenv("TMPDIR");
  const std::string folder = UsableRuntimeFolder(current != nullptr ? current : "",
                                                 temp != nullptr && *temp != '\0' ? temp : "/tmp");
  if (!folder.empty() && (current == nullptr || folder != current))
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

}  // namespace platform
