#include "platform/large_memory.h"

#include <sys/mman.h>

#include <cstdlib>

namespace platform {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

bool IsLarge(std::size_t bytes) { return bytes >= kHugePage; }

}  // namespace

void* AllocateLarge(std::size_t bytes) {
  if (!IsLarge(bytes)) {
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) throw std::bad_alloc();
    return block;
  }
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
  madvise(block, bytes, MADV_HUGEPAGE);  // a hint: without huge pages the block still works
#endif
  return block;
}

void FreeLarge(void* block, std::size_t bytes) noexcept {
  if (block == nullptr) return;
  if (IsLarge(bytes))
    munmap(block, bytes);
  else
    std::free(block);
}

}  // namespace platform
