#include "platform/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/file_system.h"

namespace platform {
namespace {

constexpr const char* kDosAttributeName = "user.DOSATTRIB";

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The file a write lands in: a symbolic link's final target, else the path itself.
std::string ResolvedTarget(const std::string& native) {
  char resolved[PATH_MAX];
  struct stat link;
  if (lstat(native.c_str(), &link) == 0 && S_ISLNK(link.st_mode) &&
      realpath(native.c_str(), resolved) != nullptr)
    return resolved;
  return native;
}

class TemporarySibling {
 public:
  explicit TemporarySibling(const std::string& target) : path_(target + ".XXXXXX") {
    fd_ = mkstemp(path_.data());
  }
  ~TemporarySibling() {
    if (fd_ >= 0) close(fd_);
    if (!kept_) unlink(path_.c_str());
  }
  TemporarySibling(const TemporarySibling&) = delete;
  TemporarySibling& operator=(const TemporarySibling&) = delete;

  bool Open() const { return fd_ >= 0; }
  bool Write(std::string_view bytes) const { return WriteAll(fd_, bytes) && fsync(fd_) == 0; }
  // Gives the copy the permission bits and DOS attributes of the file it replaces.
  void TakeOver(const std::string& original, const struct stat& st) const {
    fchmod(fd_, st.st_mode & 07777);
    char value[256];
    const ssize_t size = getxattr(original.c_str(), kDosAttributeName, value, sizeof value);
    if (size > 0) fsetxattr(fd_, kDosAttributeName, value, static_cast<std::size_t>(size), 0);
  }
  bool RenameOver(const std::string& target) {
    if (close(fd_) != 0) {
      fd_ = -1;
      return false;
    }
    fd_ = -1;
    kept_ = rename(path_.c_str(), target.c_str()) == 0;  // replacing is the point here
    return kept_;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool kept_ = false;
};

// Rewrites a file in place, keeping its inode so every hard link sees the new text.
bool WriteInPlace(const std::string& target, std::string_view bytes) {
  const int fd = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
  return close(fd) == 0 && written;
}

}  // namespace

void ReplaceFileContents(std::string_view path, std::string_view bytes) {
  const std::string target = ResolvedTarget(EngineToUtf8(path));
  struct stat st;
  const bool exists = stat(target.c_str(), &st) == 0;
  if (exists && (!S_ISREG(st.st_mode) || IsReadOnly(path))) ThrowCannotCreate(path);

  TemporarySibling copy(target);
  if (!copy.Open() || !copy.Write(bytes)) ThrowCannotCreate(path);
  if (exists) copy.TakeOver(target, st);
  if (exists && st.st_nlink > 1) {
    // The complete text is safe in the sibling; now the shared inode can be rewritten.
    if (!WriteInPlace(target, bytes)) ThrowCannotCreate(path);
    return;
  }
  if (!copy.RenameOver(target)) ThrowCannotCreate(path);
  if (!exists) {
    // mkstemp made the copy private (0600); a new file gets the usual mode.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(target.c_str(), 0666 & ~mask);
  }
}

bool DeleteFile(std::string_view path) {
  if (IsReadOnly(path)) return false;
  return unlink(EngineToUtf8(path).c_str()) == 0;
}

}  // namespace platform
