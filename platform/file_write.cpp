#include "platform/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/block_writer.h"
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

// The folder part of a native path ("." for a bare name).
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The new text of a file, beside it. Where the file system allows it the copy has no
// name until it is complete, so a process killed while writing it leaves nothing
// behind; elsewhere it is a named sibling, removed again unless it becomes the file.
class TemporarySibling {
 public:
  explicit TemporarySibling(const std::string& target) {
    fd_ = open(FolderOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ >= 0) return;
    path_ = target + ".XXXXXX";
    fd_ = mkostemp(path_.data(), O_CLOEXEC);
    named_ = fd_ >= 0;
  }
  ~TemporarySibling() {
    if (fd_ >= 0) close(fd_);
    if (named_ && !kept_) unlink(path_.c_str());
  }
  TemporarySibling(const TemporarySibling&) = delete;
  TemporarySibling& operator=(const TemporarySibling&) = delete;

  bool Open() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  bool Flush() const { return fsync(fd_) == 0; }
  // Gives the copy the permission bits and DOS attributes of the file it replaces.
  void TakeOver(const std::string& original, const struct stat& st) const {
    fchmod(fd_, st.st_mode & 07777);
    char value[256];
    const ssize_t size = getxattr(original.c_str(), kDosAttributeName, value, sizeof value);
    if (size > 0) fsetxattr(fd_, kDosAttributeName, value, static_cast<std::size_t>(size), 0);
  }
  // Rewrites `target` in place from the copy, keeping its inode so every hard link sees
  // the new text.
  bool CopyInto(const std::string& target) const {
    // Reading back goes through the cache: a direct read would need aligned buffers.
    const int flags = fcntl(fd_, F_GETFL);
    if (flags < 0 || fcntl(fd_, F_SETFL, flags & ~O_DIRECT) != 0) return false;
    const int out = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (out < 0) return false;
    std::string block(1 << 20, '\0');
    off_t offset = 0;
    bool ok = true;
    for (;;) {
      const ssize_t got = pread(fd_, block.data(), block.size(), offset);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        ok = got == 0;
        break;
      }
      if (!WriteAll(out, std::string_view(block.data(), static_cast<std::size_t>(got)))) {
        ok = false;
        break;
      }
      offset += got;
    }
    ok = ok && fsync(out) == 0;
    return close(out) == 0 && ok;
  }
  bool RenameOver(const std::string& target) {
    if (!named_ && !GiveName(target)) return false;
    if (close(fd_) != 0) {
      fd_ = -1;
      return false;
    }
    fd_ = -1;
    kept_ = rename(path_.c_str(), target.c_str()) == 0;  // replacing is the point here
    return kept_;
  }

 private:
  // Links the unnamed copy into the folder under a free name beside `target`, for the
  // rename that puts it in place (a link cannot replace a file).
  bool GiveName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = target + "." + std::to_string(getpid()) + "-" + std::to_string(counter++);
      // Linking by descriptor needs a privilege; through /proc it needs none.
      if (linkat(fd_, "", AT_FDCWD, path_.c_str(), AT_EMPTY_PATH) == 0 ||
          linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        named_ = true;
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }

  std::string path_;
  int fd_ = -1;
  bool named_ = false;  // the copy has a name in the folder (path_)
  bool kept_ = false;
};

}  // namespace

struct FileReplacement::State {
  explicit State(std::string_view enginePath)
      : path(enginePath), target(ResolvedTarget(EngineToUtf8(enginePath))) {}
  std::string path;    // engine text, for the message
  std::string target;  // native, links resolved
  struct stat st {};
  bool exists = false;
  std::unique_ptr<TemporarySibling> copy;
  std::unique_ptr<BlockWriter> writer;
  bool committed = false;
};

FileReplacement::FileReplacement(std::string_view path) : state_(std::make_unique<State>(path)) {
  State& s = *state_;
  s.exists = stat(s.target.c_str(), &s.st) == 0;
  if (s.exists && (!S_ISREG(s.st.st_mode) || IsReadOnly(path))) ThrowCannotCreate(path);
  s.copy = std::make_unique<TemporarySibling>(s.target);
  if (!s.copy->Open()) ThrowCannotCreate(path);
  s.writer = std::make_unique<BlockWriter>(s.copy->fd());
  next_ = s.writer->Block();
  end_ = next_ + BlockWriter::kBlockSize;
}

FileReplacement::~FileReplacement() = default;

void FileReplacement::AppendToFullBuffer(std::string_view bytes) {
  State& s = *state_;
  while (bytes.size() > static_cast<std::size_t>(end_ - next_)) {
    const auto room = static_cast<std::size_t>(end_ - next_);
    std::memcpy(next_, bytes.data(), room);
    bytes.remove_prefix(room);
    if (!s.writer->Submit()) ThrowCannotCreate(s.path);
    next_ = s.writer->Block();
    end_ = next_ + BlockWriter::kBlockSize;
  }
  Append(bytes);
}

void FileReplacement::Commit() {
  State& s = *state_;
  if (s.committed) return;
  if (!s.writer->Finish(static_cast<std::size_t>(next_ - s.writer->Block())))
    ThrowCannotCreate(s.path);
  next_ = end_;  // nothing more goes in
  if (!s.copy->Flush()) ThrowCannotCreate(s.path);
  if (s.exists) s.copy->TakeOver(s.target, s.st);
  if (s.exists && s.st.st_nlink > 1) {
    // The complete text is safe in the sibling; now the shared inode can be rewritten.
    if (!s.copy->CopyInto(s.target)) ThrowCannotCreate(s.path);
    s.committed = true;
    return;
  }
  if (!s.copy->RenameOver(s.target)) ThrowCannotCreate(s.path);
  s.committed = true;
  if (!s.exists) {
    // mkstemp made the copy private (0600); a new file gets the usual mode.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(s.target.c_str(), 0666 & ~mask);
  }
}

void ReplaceFileContents(std::string_view path, std::string_view bytes) {
  FileReplacement replacement(path);
  replacement.Append(bytes);
  replacement.Commit();
}

void WriteCopy(std::string_view originalPath, std::string_view copyPath, std::string_view bytes) {
  ReplaceFileContents(copyPath, bytes);
  struct stat st;
  if (stat(EngineToUtf8(originalPath).c_str(), &st) == 0)
    chmod(EngineToUtf8(copyPath).c_str(), st.st_mode & 07777);
}

bool DeleteFile(std::string_view path) {
  if (IsReadOnly(path)) return false;
  return unlink(EngineToUtf8(path).c_str()) == 0;
}

}  // namespace platform
