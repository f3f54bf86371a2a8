#include "platform/file_bytes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <utility>

#include "platform/code_page.h"
#include "platform/error.h"

namespace platform {
namespace {

// A mapped file that shrinks under us turns every access beyond its new end into
// SIGBUS. The handler below gives such a page zeros instead and notes the damage,
// so a file changed by another program ends the run with an error, not the program.
// The mappings are listed in fixed slots, since a signal handler may not take a lock.
struct GuardSlot {
  std::atomic<std::uintptr_t> begin{0};
  std::atomic<std::uintptr_t> end{0};
  std::atomic<bool> inUse{false};
  std::atomic<bool> damaged{false};
};

constexpr int kSlots = 16;
GuardSlot g_slots[kSlots];
std::uintptr_t g_pageSize = 4096;  // read before the handler is installed
struct sigaction g_previous;
std::once_flag g_installed;

void PassOn(int signal, siginfo_t* info, void* context) {
  if ((g_previous.sa_flags & SA_SIGINFO) != 0 && g_previous.sa_sigaction != nullptr) {
    g_previous.sa_sigaction(signal, info, context);
  } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
    g_previous.sa_handler(signal);
  } else {
    // The faulting access is retried and now ends the program as it would have.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(SIGBUS, &fallback, nullptr);
  }
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  // Only a page beyond the end of a mapped file; a signal sent by a program carries no
  // address.
  if (info->si_code != BUS_ADRERR) {
    PassOn(signal, info, context);
    return;
  }
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (GuardSlot& slot : g_slots) {
    if (address < slot.begin.load() || address >= slot.end.load()) continue;
    void* page = reinterpret_cast<void*>(address & ~(g_pageSize - 1));
    const int savedErrno = errno;
    const bool replaced = mmap(page, g_pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED,
                               -1, 0) != MAP_FAILED;
    errno = savedErrno;
    if (replaced) {
      slot.damaged.store(true);
      return;
    }
  }
  PassOn(signal, info, context);
}

void InstallHandler() {
  g_pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO | SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGBUS, &action, &g_previous);
}

int Watch(const char* data, std::size_t size) {
  std::call_once(g_installed, InstallHandler);
  for (int i = 0; i < kSlots; ++i) {
    bool expected = false;
    if (!g_slots[i].inUse.compare_exchange_strong(expected, true)) continue;
    // begin before end, so that the range is empty until it is whole.
    g_slots[i].damaged.store(false);
    g_slots[i].begin.store(reinterpret_cast<std::uintptr_t>(data));
    g_slots[i].end.store(reinterpret_cast<std::uintptr_t>(data) + size);
    return i;
  }
  return -1;
}

void Unwatch(int slot) {
  g_slots[slot].end.store(0);
  g_slots[slot].begin.store(0);
  g_slots[slot].inUse.store(false);
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

bool ReadAll(int fd, char* data, std::size_t size, std::size_t& got) {
  got = 0;
  while (got < size) {
    const ssize_t n = read(fd, data + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;  // the file shrank meanwhile: what was there
    got += static_cast<std::size_t>(n);
  }
  return true;
}

void Stamp(const struct stat& st, std::int64_t (&stamp)[3]) {
  stamp[0] = st.st_size;
  stamp[1] = st.st_ctim.tv_sec * 1'000'000'000LL + st.st_ctim.tv_nsec;
  stamp[2] = st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec;
}

}  // namespace

FileBytes::FileBytes(std::string_view enginePath) {
  // O_NONBLOCK: a pipe put where the file was must not hang the run; it is refused below.
  Descriptor file(open(EngineToUtf8(enginePath).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat st;
  if (file.get() < 0 || fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
    ThrowCannotOpen(enginePath);
  Stamp(st, stamp_);
  const auto size = static_cast<std::size_t>(st.st_size);
  if (size > 0) {
    void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.get(), 0);
    if (mapped != MAP_FAILED) {
      const int slot = Watch(static_cast<const char*>(mapped), size);
      if (slot >= 0) {
        madvise(mapped, size, MADV_SEQUENTIAL);
        data_ = static_cast<const char*>(mapped);
        size_ = size;
        guard_ = slot;
      } else {
        munmap(mapped, size);  // every slot taken: read it instead
      }
    }
    if (guard_ < 0) {
      LargeBuffer copy(size);
      std::size_t got = 0;
      if (!ReadAll(file.get(), copy.data(), size, got)) ThrowCannotOpen(enginePath);
      copy_ = std::move(copy);
      data_ = copy_.data();
      size_ = got;
    }
  }
  fd_ = file.Release();
}

FileBytes::~FileBytes() { Release(); }

FileBytes::FileBytes(FileBytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      guard_(std::exchange(other.guard_, -1)),
      fd_(std::exchange(other.fd_, -1)),
      copy_(std::move(other.copy_)) {
  std::copy(std::begin(other.stamp_), std::end(other.stamp_), std::begin(stamp_));
}

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    guard_ = std::exchange(other.guard_, -1);
    fd_ = std::exchange(other.fd_, -1);
    std::copy(std::begin(other.stamp_), std::end(other.stamp_), std::begin(stamp_));
    copy_ = std::move(other.copy_);
  }
  return *this;
}

bool FileBytes::Intact() const {
  if (guard_ >= 0 && g_slots[guard_].damaged.load()) return false;
  if (fd_ < 0) return true;  // nothing was opened
  struct stat st;
  std::int64_t now[3];
  if (fstat(fd_, &st) != 0) return false;
  Stamp(st, now);
  return std::equal(std::begin(now), std::end(now), std::begin(stamp_));
}

void FileBytes::Release() noexcept {
  if (guard_ >= 0) {
    Unwatch(guard_);
    munmap(const_cast<char*>(data_), size_);
    guard_ = -1;
  }
  if (fd_ >= 0) close(std::exchange(fd_, -1));
  data_ = nullptr;
  size_ = 0;
}

}  // namespace platform
