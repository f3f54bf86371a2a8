#pragma once
// The whole contents of a file, for reading once from start to end. The bytes are the
// file's own pages, mapped read-only, so a gigabyte costs neither a copy nor fresh
// memory; where a file cannot be mapped they are read into memory in one read.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/large_memory.h"

namespace platform {

class FileBytes {
 public:
  FileBytes() = default;
  // Throws CommandError "Cannot open file %s" for a path that is no regular file or
  // cannot be read. Paths are engine text.
  explicit FileBytes(std::string_view enginePath);
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
  int guard_ = -1;    // the slot watching the mapping, or -1 when nothing is mapped
  int fd_ = -1;       // kept open to see later changes
  std::int64_t stamp_[3] = {};  // size, change and modification times when opened
  LargeBuffer copy_;  // the bytes of a file that could not be mapped
};

}  // namespace platform
