#include "platform/file_write.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/block_writer.h"
#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/file_system.h"

namespace platform {
namespace {

bool PWriteAll(int fd, std::string_view bytes, off_t offset) {
  while (!bytes.empty()) {
    const ssize_t written = pwrite(fd, bytes.data(), bytes.size(), offset);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
    offset += written;
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

// An unnamed file can only be given a name through /proc (or with a privilege). Asked
// for each save: /proc may be mounted or not, and one call costs nothing beside a save.
bool CanNameUnnamedFiles() { return access("/proc/self/fd", X_OK) == 0; }

// A name beside `target` for a copy: the process id and a random number. Another save
// may have taken it meanwhile (EEXIST), so callers try again with a new one; should the
// random source fail, `attempt` alone keeps the tries apart.
std::string SiblingName(const std::string& target, unsigned attempt) {
  std::uint64_t random = 0;
  if (getrandom(&random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random))
    random = attempt;
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%ld-%016llx", static_cast<long>(getpid()),
                static_cast<unsigned long long>(random));
  return target + suffix;
}

constexpr unsigned kNameAttempts = 100;

// The DOS attribute word of `path` as stored. Empty when the file has none, or when its
// file system keeps no user attributes (ENOTSUP) and so cannot have one; nullopt when it
// cannot be told whether there is one.
std::optional<std::string> ReadDosAttribute(const std::string& path) {
  // Room for the text form and Samba's binary copy after it, so one call is enough.
  char buffer[256];
  const ssize_t size = getxattr(path.c_str(), kDosAttributeName, buffer, sizeof buffer);
  if (size >= 0) return std::string(buffer, static_cast<std::size_t>(size));
  for (;;) {
    if (errno == ENODATA || errno == ENOTSUP) return std::string();
    if (errno != ERANGE) return std::nullopt;
    // Longer than usual: ask for its length. It may grow again before it is read.
    const ssize_t needed = getxattr(path.c_str(), kDosAttributeName, nullptr, 0);
    if (needed < 0) continue;
    if (needed == 0) return std::string();  // a read of 0 bytes would only ask the length
    std::string value(static_cast<std::size_t>(needed), '\0');
    const ssize_t got = getxattr(path.c_str(), kDosAttributeName, value.data(), value.size());
    if (got >= 0) {
      value.resize(static_cast<std::size_t>(got));
      return value;
    }
  }
}

// How rewriting a file in place ended.
enum class InPlace { Done, Untouched, Broken };

// Who gives the new text its permission bits.
enum class Mode {
  // The kernel, as for any new file: 0666 less the umask, or the folder's default ACL.
  // Reading the umask would mean changing it, and it is process-wide.
  FromCreation,
  // SetMode or TakeOver, before the copy gets a name; the copy is private (0600) until
  // then.
  SetLater,
};

// The new text of a file, beside it. Where the file system allows it the copy has no
// name until it is complete, so a process killed while writing it leaves nothing
// behind; elsewhere it is a named sibling, removed again unless it becomes the file.
// An unnamed copy is beyond every other user's reach whatever its mode (only its own
// process's /proc entries lead to it); a named one is not. So a copy whose mode is set
// later is created private (0600), and one that keeps the mode it is created with is
// created as any new file is: no wider than the finished file will be.
class TemporarySibling {
 public:
  TemporarySibling(const std::string& target, Mode mode) {
    const mode_t creation = mode == Mode::FromCreation ? 0666 : 0600;
    if (CanNameUnnamedFiles()) {
      fd_ = open(FolderOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, creation);
      if (fd_ >= 0) return;
    }
    for (unsigned attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
      path_ = SiblingName(target, attempt);
      fd_ = open(path_.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, creation);
      if (fd_ < 0 && errno != EEXIST) break;
    }
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
  bool SetMode(mode_t mode) const { return fchmod(fd_, mode & 07777) == 0; }
  // Gives the copy the permission bits and the DOS attribute word of the file it
  // replaces. False when either cannot be carried over: the new text must not be put in
  // place with wider permissions or without the attributes the file had. A file system
  // that keeps no user attributes is no failure, as the file cannot have had any; the
  // copy lies on the same file system, so one that was read must be written.
  bool TakeOver(const std::string& original, mode_t mode) const {
    if (!SetMode(mode)) return false;
    const std::optional<std::string> dos = ReadDosAttribute(original);
    if (!dos) return false;
    // An empty value tells no reader anything: there is nothing to carry.
    return dos->empty() || fsetxattr(fd_, kDosAttributeName, dos->data(), dos->size(), 0) == 0;
  }
  // Gives the copy a name beside `target` (the name stays after a failure).
  bool Name(const std::string& target) { return named_ || GiveName(target); }
  // Leaves the named copy in the folder when this ends.
  void Keep() { kept_ = true; }
  // Rewrites `target` in place from the copy, keeping its inode so every hard link sees
  // the new text. Room for the text is taken first, so a full disk fails before the
  // file changes.
  InPlace CopyInto(const std::string& target) const {
    // Reading back goes through the cache: a direct read would need aligned buffers.
    const int flags = fcntl(fd_, F_GETFL);
    struct stat copy;
    if (flags < 0 || fcntl(fd_, F_SETFL, flags & ~O_DIRECT) != 0 || fstat(fd_, &copy) != 0)
      return InPlace::Untouched;
    const int out = open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (out < 0) return InPlace::Untouched;
    if (copy.st_size > 0 && fallocate(out, FALLOC_FL_KEEP_SIZE, 0, copy.st_size) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
      close(out);
      return InPlace::Untouched;
    }
    std::string block(1 << 20, '\0');
    off_t offset = 0;
    bool ok = true;
    while (ok && offset < copy.st_size) {
      const ssize_t got = pread(fd_, block.data(), block.size(), offset);
      if (got < 0 && errno == EINTR) continue;
      ok = got > 0 &&
           PWriteAll(out, std::string_view(block.data(), static_cast<std::size_t>(got)), offset);
      offset += got;
    }
    ok = ok && ftruncate(out, copy.st_size) == 0 && fsync(out) == 0;
    ok = close(out) == 0 && ok;
    return ok ? InPlace::Done : InPlace::Broken;
  }
  bool RenameOver(const std::string& target) {
    if (!Name(target)) return false;
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
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
      path_ = SiblingName(target, attempt);
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
  explicit State(const NativePath& nativePath)
      : path(nativePath), target(ResolvedTarget(nativePath.bytes())) {}
  NativePath path;     // for the message
  std::string target;  // links resolved
  struct stat st {};
  bool exists = false;
  std::optional<mode_t> mode;  // the permission bits asked for, else the file's own
  std::unique_ptr<TemporarySibling> copy;
  std::unique_ptr<BlockWriter> writer;
  bool finished = false;  // every byte is in the copy
  bool committed = false;
};

FileReplacement::FileReplacement(const NativePath& path, const NativePath& permissionsFrom)
    : state_(std::make_unique<State>(path)) {
  State& s = *state_;
  struct stat from;
  if (!permissionsFrom.empty() && stat(permissionsFrom.c_str(), &from) == 0) s.mode = from.st_mode;
  s.exists = stat(s.target.c_str(), &s.st) == 0;
  if (s.exists && (!S_ISREG(s.st.st_mode) || IsReadOnly(path))) ThrowCannotCreate(path);
  const Mode mode = s.exists || s.mode ? Mode::SetLater : Mode::FromCreation;
  s.copy = std::make_unique<TemporarySibling>(s.target, mode);
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
  if (!s.finished) {
    if (!s.writer->Finish(static_cast<std::size_t>(next_ - s.writer->Block())))
      ThrowCannotCreate(s.path);
    s.finished = true;
    next_ = end_;  // nothing more goes in
  }
  // Before the flush, so that the disk holds them together with the text.
  if (s.exists && !s.copy->TakeOver(s.target, s.st.st_mode)) ThrowCannotCreate(s.path);
  if (s.mode && !s.copy->SetMode(*s.mode)) ThrowCannotCreate(s.path);
  if (!s.copy->Flush()) ThrowCannotCreate(s.path);
  if (s.exists && s.st.st_nlink > 1) {
    // The shared inode is rewritten in place. Until it holds the whole new text, the
    // complete copy has a name beside it; if the rewrite breaks off, the copy stays.
    if (!s.copy->Name(s.target)) ThrowCannotCreate(s.path);
    const InPlace result = s.copy->CopyInto(s.target);
    if (result == InPlace::Broken) s.copy->Keep();
    if (result != InPlace::Done) ThrowCannotCreate(s.path);
    s.committed = true;
    return;
  }
  if (!s.copy->RenameOver(s.target)) ThrowCannotCreate(s.path);
  s.committed = true;
}

void ReplaceFileContents(const NativePath& path, std::string_view bytes) {
  FileReplacement replacement(path);
  replacement.Append(bytes);
  replacement.Commit();
}

void WriteCopy(const NativePath& originalPath, const NativePath& copyPath, std::string_view bytes) {
  FileReplacement replacement(copyPath, originalPath);
  replacement.Append(bytes);
  replacement.Commit();
}

bool DeleteFile(const NativePath& path) {
  if (IsReadOnly(path)) return false;
  return unlink(path.c_str()) == 0;
}

}  // namespace platform
