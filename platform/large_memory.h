#pragma once
// Memory for the few very large, short-lived arrays of a run: the bytes of a whole
// file and the views of its lines. Blocks from 2 MiB on come straight from the system
// and ask for huge pages, so filling a gigabyte costs a few hundred page faults instead
// of a quarter of a million, and giving it back costs one call. Smaller blocks come
// from the ordinary heap.

#include <cstddef>
#include <new>

namespace platform {

void* AllocateLarge(std::size_t bytes);  // throws std::bad_alloc
void FreeLarge(void* block, std::size_t bytes) noexcept;

// A std allocator over AllocateLarge, for a vector that may grow very large.
template <class T>
struct LargeAllocator {
  using value_type = T;
  LargeAllocator() = default;
  template <class U>
  LargeAllocator(const LargeAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(AllocateLarge(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { FreeLarge(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const LargeAllocator<U>&) const noexcept {
    return true;
  }
};

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
