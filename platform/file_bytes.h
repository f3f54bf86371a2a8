#pragma once
// The whole contents of a file, for reading once from start to end. The bytes are the
// file's own pages, mapped read-only, so a gigabyte costs neither a copy nor fresh
// memory; where a file cannot be mapped they are read into memory in one read.
//
// The guard of a mapping. Another program may cut a mapped file short while its bytes
// are read; every access beyond the new end then raises SIGBUS, whose default action
// ends the program. So the first mapping installs a SIGBUS handler for the rest of the
// process's life. For a fault (BUS_ADRERR) inside a guarded mapping it maps a page of
// zeros over the lost one, notes the damage for Intact() and returns, so the access is
// retried and reads zeros. Everything else is passed on to the disposition found when
// the handler was installed: a previous handler is called with the same arguments (its
// own mask and flags are not applied); under the default action the signal is raised
// again and ends the program as it would have; an ignored signal stays ignored, unless
// it is a fault, which the kernel would not have let be ignored. A disposition set later
// by other code replaces the guard.
// The handler does only what a signal handler may do at any moment on any thread: it
// reads lock-free atomics, and calls mmap, sigaction and raise. sigaction and raise are
// async-signal-safe by POSIX; mmap is not on that list, but here it is the bare system
// call, which takes no lock in the process. No allocation, no lock.
// The mappings are listed in kGuardedMappings fixed slots, which the handler can read
// without a lock. A file opened while every slot is taken is read into memory instead:
// slower and using memory, but the same bytes.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/large_memory.h"
#include "platform/native_path.h"

namespace platform {

class FileBytes {
 public:
  // Mapped files open at one time with a guard; more are read.
  static constexpr int kGuardedMappings = 16;

  FileBytes() = default;
  // Throws CommandError "Cannot open file %s" for a path that is no regular file or
  // cannot be read.
  // A symbolic link at `path` is refused unless it is to be followed: a listed file
  // replaced by a link must not lead the run to the link's target.
  enum class Link { Refuse, Follow };
  explicit FileBytes(const NativePath& path, Link link = Link::Refuse);
  ~FileBytes();
  FileBytes(FileBytes&& other) noexcept;
  FileBytes& operator=(FileBytes&& other) noexcept;

  std::string_view bytes() const { return {data_, size_}; }

  // False when another program has changed the file since it was opened (its size or
  // its times differ), so the bytes may be a mix of old and new text and what was made
  // of them must not be used. Bytes a mapped file lost by being cut short read as
  // zeros instead of ending the program.
  bool Intact() const;

 private:
  void Release() noexcept;

  const char* data_ = nullptr;
  std::size_t size_ = 0;
  int guard_ = -1;              // the slot watching the mapping, or -1 when nothing is mapped
  int fd_ = -1;                 // kept open to see later changes
  std::int64_t stamp_[3] = {};  // size, change and modification times when opened
  LargeBuffer copy_;            // the bytes of a file that could not be mapped
};

}  // namespace platform
