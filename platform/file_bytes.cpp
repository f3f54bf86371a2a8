#include "platform/file_bytes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <iterator>
#include <mutex>
#include <utility>

#include "platform/code_page.h"
#include "platform/error.h"

namespace platform {
namespace {

// The guard described in file_bytes.h. Everything the handler reads lives in these
// fixed slots and is reached through lock-free atomics: a signal handler may take no
// lock and allocate nothing, and may run on any thread at any moment.
struct GuardSlot {
  std::atomic<unsigned> version{0};  // odd while the range changes
  std::atomic<std::uintptr_t> begin{0};
  std::atomic<std::uintptr_t> end{0};
  std::atomic<bool> inUse{false};
  std::atomic<bool> damaged{false};
};
static_assert(std::atomic<unsigned>::is_always_lock_free &&
                  std::atomic<std::uintptr_t>::is_always_lock_free &&
                  std::atomic<bool>::is_always_lock_free,
              "the signal handler may only use lock-free atomics");

// Process-wide by nature, as the signal disposition they go with.
GuardSlot g_slots[FileBytes::kGuardedMappings];
std::uintptr_t g_pageSize = 4096;  // set before the handler is installed, read-only after
struct sigaction g_previous;       // likewise
std::once_flag g_installed;

// Hands a SIGBUS that is not ours to what would have had it without the guard.
void PassOn(int signal, siginfo_t* info, void* context) {
  const bool byDefault = g_previous.sa_handler == SIG_DFL;
  const bool ignored = g_previous.sa_handler == SIG_IGN;
  if (!byDefault && !ignored) {
    if ((g_previous.sa_flags & SA_SIGINFO) != 0) {
      g_previous.sa_sigaction(signal, info, context);
    } else {
      g_previous.sa_handler(signal);
    }
    return;
  }
  // Ignored: a signal another program sent (or an advance notice of a memory error) is
  // dropped as it would have been; a fault is not, the kernel would have forced it.
  if (ignored && (info->si_code <= 0 || info->si_code == BUS_MCEERR_AO)) return;
  // The default action ends the program. The signal is blocked while this handler runs,
  // so raised again it arrives as the handler returns, with the default action in force.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(SIGBUS, &fallback, nullptr);
  raise(SIGBUS);
}

// The slot whose mapping holds `address`, or null. A range read while its slot changes
// (on another thread) may be torn; the version shows that, and such a slot is not the
// one of the faulting access, whose mapping is in use.
GuardSlot* SlotHolding(std::uintptr_t address) {
  for (GuardSlot& slot : g_slots) {
    const unsigned version = slot.version.load();
    if ((version & 1) != 0) continue;
    const std::uintptr_t begin = slot.begin.load();
    const std::uintptr_t end = slot.end.load();
    if (slot.version.load() == version && address >= begin && address < end) return &slot;
  }
  return nullptr;
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  const int savedErrno = errno;
  // Only an access beyond the end of a mapped file is ours; a signal sent by a program
  // carries no address.
  GuardSlot* slot = info->si_code == BUS_ADRERR
                        ? SlotHolding(reinterpret_cast<std::uintptr_t>(info->si_addr))
                        : nullptr;
  if (slot != nullptr) {
    // A page of zeros in place of the lost one; the access is then retried and succeeds.
    void* page = reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(info->si_addr) &
                                         ~(g_pageSize - 1));
    if (mmap(page, g_pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
        MAP_FAILED) {
      slot->damaged.store(true);
      errno = savedErrno;
      return;
    }
  }
  PassOn(signal, info, context);
  errno = savedErrno;
}

void InstallHandler() {
  g_pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  // The previous disposition is saved before the handler can run, so that it never reads
  // a half-written one.
  sigaction(SIGBUS, nullptr, &g_previous);
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO | SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGBUS, &action, nullptr);
}

// Sets the range of a slot this thread owns.
void SetRange(GuardSlot& slot, std::uintptr_t begin, std::uintptr_t end) {
  slot.version.fetch_add(1);
  slot.begin.store(begin);
  slot.end.store(end);
  slot.version.fetch_add(1);
}

int Watch(const char* data, std::size_t size) {
  std::call_once(g_installed, InstallHandler);
  for (int i = 0; i < FileBytes::kGuardedMappings; ++i) {
    bool expected = false;
    if (!g_slots[i].inUse.compare_exchange_strong(expected, true)) continue;
    g_slots[i].damaged.store(false);
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    SetRange(g_slots[i], begin, begin + size);
    return i;
  }
  return -1;
}

void Unwatch(int slot) {
  SetRange(g_slots[slot], 0, 0);
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

FileBytes::FileBytes(const NativePath& path, Link link) {
  // O_NONBLOCK: a pipe put where the file was must not hang the run; it is refused below.
  const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (link == Link::Refuse ? O_NOFOLLOW : 0);
  // Reading leaves the access time alone, so that a preview changes nothing on the disk.
  // Only the owner may ask for that; other files are read without it.
  int fd = open(path.c_str(), flags | O_NOATIME);
  if (fd < 0 && errno == EPERM) fd = open(path.c_str(), flags);
  Descriptor file(fd);
  struct stat st;
  if (file.get() < 0 || fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) ThrowCannotOpen(path);
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
      if (!ReadAll(file.get(), copy.data(), size, got)) ThrowCannotOpen(path);
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
