#pragma once
// Memory for the few very large, short-lived byte blocks of a run, such as the bytes
// of a whole file read into memory. Blocks from 2 MiB on come straight from the system
// and ask for huge pages, so filling a gigabyte costs a few hundred page faults instead
// of a quarter of a million, and giving it back costs one call. Smaller blocks come
// from the ordinary heap.

#include <cstddef>
#include <new>

namespace platform {

void* AllocateLarge(std::size_t bytes);  // throws std::bad_alloc
void FreeLarge(void* block, std::size_t bytes) noexcept;

// An uninitialised byte block of a fixed size, owned.
class LargeBuffer {
 public:
  LargeBuffer() = default;
  explicit LargeBuffer(std::size_t size)
      : data_(static_cast<char*>(AllocateLarge(size))), size_(size) {}
  ~LargeBuffer() { FreeLarge(data_, size_); }
  LargeBuffer(LargeBuffer&& other) noexcept : data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
    other.size_ = 0;
  }
  LargeBuffer& operator=(LargeBuffer&& other) noexcept {
    if (this != &other) {
      FreeLarge(data_, size_);
      data_ = other.data_;
      size_ = other.size_;
      other.data_ = nullptr;
      other.size_ = 0;
    }
    return *this;
  }

  char* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace platform
