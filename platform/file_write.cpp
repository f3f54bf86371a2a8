#include "platform/file_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
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
#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/journal.h"
#include "platform/rewrite_in_place.h"
#include "platform/wait_hook.h"

namespace platform {
namespace {

// An unnamed file can only be given a name through /proc (or with a privilege). Asked
// for each save: /proc may be mounted or not, and one call costs nothing beside a save.
bool CanNameUnnamedFiles() { return access("/proc/self/fd", X_OK) == 0; }

// Copies that get a name are named so that they tell themselves as this program's and
// whose: ".tessaly-PID-RANDOM" and the kind, in the folder of the file they are for.
// A temporary copy of a save where unnamed files are not to be had:
constexpr std::string_view kTemporaryKind = ".tmp";
// The complete copy a recorded rewrite in place takes its bytes from (rewrite_in_place.h):
constexpr std::string_view kRewriteKind = ".new";
constexpr std::string_view kSiblingStart = ".tessaly-";

// A name in `folder` for a copy: the process id and a random number. Another save may
// have taken it meanwhile (EEXIST), so callers try again with a new one; should the
// random source fail, `attempt` alone keeps the tries apart.
std::string SiblingName(const std::string& folder, std::string_view kind, unsigned attempt) {
  std::uint64_t random = 0;
  if (getrandom(&random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random))
    random = attempt;
  char name[64];
  std::snprintf(name, sizeof name, "/%.*s%ld-%016llx%.*s", static_cast<int>(kSiblingStart.size()),
                kSiblingStart.data(), static_cast<long>(getpid()),
                static_cast<unsigned long long>(random), static_cast<int>(kind.size()),
                kind.data());
  return folder + name;
}

// Removes the temporary copies in `folder` that a process killed during a save left: named
// as this program's and of a process that is gone. A live process's copy is its own.
void RemoveStaleSiblings(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(kSiblingStart) || !name.ends_with(kTemporaryKind)) continue;
    long pid = 0;
    unsigned long long random = 0;
    int end = 0;
    const std::string text(name.substr(kSiblingStart.size()));
    if (std::sscanf(text.c_str(), "%ld-%16llx%n", &pid, &random, &end) != 2 ||
        text.substr(static_cast<std::size_t>(end)) != kTemporaryKind || pid <= 0 || pid == getpid())
      continue;
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
      unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

constexpr unsigned kNameAttempts = 100;

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
  TemporarySibling(const std::string& target, Mode mode) : folder_(FolderOf(target)) {
    const mode_t creation = mode == Mode::FromCreation ? 0666 : 0600;
    if (CanNameUnnamedFiles()) {
      fd_ = open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, creation);
      if (fd_ >= 0) return;
    }
    // Named copies are left behind by a killed save: those of earlier ones go now.
    RemoveStaleSiblings(folder_);
    for (unsigned attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
      path_ = SiblingName(folder_, kTemporaryKind, attempt);
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
  // The flush of a large copy takes seconds: the window's messages run meanwhile.
  bool Flush() const {
    return RunLettingHookRun([fd = fd_] { return fsync(fd) == 0; });
  }
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
  // Gives the copy the name `path` in its folder, for a recorded rewrite in place; false
  // when it cannot have it.
  bool NameAs(const std::string& path) {
    if (named_) {
      // A temporary copy has its name already: it takes the new one instead.
      if (renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0)
        return false;
    } else {
      const std::string self = "/proc/self/fd/" + std::to_string(fd_);
      // Linking by descriptor needs a privilege; through /proc it needs none.
      if (linkat(fd_, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) != 0 &&
          linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0)
        return false;
    }
    path_ = path;
    named_ = true;
    return true;
  }
  // Takes the copy's name away now.
  void Unname() {
    if (named_ && !kept_) unlink(path_.c_str());
    named_ = false;
  }
  // Leaves the named copy in the folder when this ends.
  void Keep() { kept_ = true; }
  const std::string& folder() const { return folder_; }
  bool RenameOver(const std::string& target) {
    if (!named_ && !GiveName()) return false;
    if (close(fd_) != 0) {
      fd_ = -1;
      return false;
    }
    fd_ = -1;
    kept_ = rename(path_.c_str(), target.c_str()) == 0;  // replacing is the point here
    return kept_;
  }

 private:
  // Links the unnamed copy into its folder under a free name, for the rename that puts
  // it in place (a link cannot replace a file).
  bool GiveName() {
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
      if (NameAs(SiblingName(folder_, kTemporaryKind, attempt))) return true;
      if (errno != EEXIST) return false;
    }
    return false;
  }

  std::string folder_;
  std::string path_;
  int fd_ = -1;
  bool named_ = false;  // the copy has a name in the folder (path_)
  bool kept_ = false;
};

}  // namespace

struct FileReplacement::State {
  explicit State(const NativePath& nativePath) : path(nativePath), target(nativePath.bytes()) {}
  NativePath path;  // for the message
  std::string target;
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
  // No write follows a symbolic link: one in the file's place is replaced by the new text
  // itself, as a file that was not there would be.
  s.exists = lstat(s.target.c_str(), &s.st) == 0 && !S_ISLNK(s.st.st_mode);
  if (s.exists && (!S_ISREG(s.st.st_mode) || (s.st.st_mode & 0222) == 0)) ThrowCannotCreate(path);
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
  const bool inPlace = s.exists && s.st.st_nlink > 1;
  RunJournal* journal = ActiveJournal();
  RunJournal::Ticket ticket = 0;
  if (journal != nullptr) {
    struct stat copy;
    if (fstat(s.copy->fd(), &copy) != 0) ThrowCannotCreate(s.path);
    ticket = journal->Replacing(s.path, copy, inPlace);
  }
  try {
    if (inPlace)
      RewriteInPlace();
    else if (!s.copy->RenameOver(s.target))
      ThrowCannotCreate(s.path);
  } catch (...) {
    if (journal != nullptr) journal->Cancel(ticket);
    throw;
  }
  s.committed = true;
  if (journal != nullptr) journal->Replaced(ticket, s.path);
}

void FileReplacement::RewriteInPlace() {
  State& s = *state_;
  // The shared inode is written over from the complete copy. The rewrite is recorded and
  // the copy named beside the file first, so that a rewrite broken off, even by a kill, is
  // completed by the next run; afterwards the copy and the record go, in that order.
  struct stat copy;
  if (fstat(s.copy->fd(), &copy) != 0) ThrowCannotCreate(s.path);
  const std::string name = SiblingName(s.copy->folder(), kRewriteKind, 0);
  RecordedRewrite record(s.path, s.target, name, static_cast<std::uint64_t>(s.st.st_dev),
                         static_cast<std::uint64_t>(s.st.st_ino), copy.st_size);
  if (!s.copy->NameAs(name) || !FlushFolder(s.copy->folder())) {
    s.copy->Unname();
    ThrowCannotCreate(s.path);
  }
  const InPlace result = WriteOver(s.copy->fd(), s.target);
  if (result == InPlace::Broken) {
    s.copy->Keep();
    record.Keep();
    ThrowCannotCreate(s.path);
  }
  s.copy->Unname();
  FlushFolder(s.copy->folder());
  record.Finish();
  if (result != InPlace::Done) ThrowCannotCreate(s.path);
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
  if (RunJournal* journal = ActiveJournal()) return journal->Delete(path);
  return unlink(path.c_str()) == 0;
}

}  // namespace platform
