#include "platform/block_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "platform/wait_hook.h"

namespace platform {
namespace {

constexpr std::size_t kPage = 4096;  // direct writes go in whole pages of this size

char* NewBlock() {
  void* block = std::aligned_alloc(kPage, BlockWriter::kBlockSize);
  if (block == nullptr) throw std::bad_alloc();
  return static_cast<char*>(block);
}

}  // namespace

BlockWriter::BlockWriter(int fd) : fd_(fd), blocks_{{NewBlock(), {}}, {NewBlock(), {}}} {
  const int flags = fcntl(fd_, F_GETFL);
  direct_ = flags >= 0 && fcntl(fd_, F_SETFL, flags | O_DIRECT) == 0;
}

BlockWriter::~BlockWriter() {
  if (!helper_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  changed_.notify_all();
  helper_.join();
}

// Runs on the helper thread while one exists, else on the caller's.
bool BlockWriter::Write(const Job& job) {
  std::size_t done = 0;
  while (done < job.size) {
    const ssize_t n =
        pwrite(fd_, job.data + done, job.size - done, job.offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EINVAL && direct_) {
      // The file system takes no direct writes after all: go through the cache.
      const int flags = fcntl(fd_, F_GETFL);
      if (flags < 0 || fcntl(fd_, F_SETFL, flags & ~O_DIRECT) != 0) return false;
      direct_ = false;
      continue;
    }
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
#if defined(__linux__)
  // Through the cache: start carrying the block to the disk now, so that the final flush
  // finds little left to do.
  if (!direct_)
    sync_file_range(fd_, job.offset, static_cast<off_t>(job.size), SYNC_FILE_RANGE_WRITE);
#endif
  return true;
}

void BlockWriter::Help() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return quit_ || job_.size != 0; });
    if (job_.size == 0) return;  // quitting with nothing left to write
    const Job job = job_;
    lock.unlock();
    const bool ok = Write(job);
    lock.lock();
    failed_ = failed_ || !ok;
    job_ = Job();
    changed_.notify_all();
  }
}

bool BlockWriter::WaitForHelper() {
  std::unique_lock lock(mutex_);
  WaitLettingHookRun(changed_, lock, [this] { return job_.size == 0; });
  return !failed_;
}

// Gives `job` to the helper once it has written the one before.
bool BlockWriter::Hand(const Job& job) {
  if (!helper_.joinable()) helper_ = std::thread([this] { Help(); });
  {
    std::unique_lock lock(mutex_);
    WaitLettingHookRun(changed_, lock, [this] { return job_.size == 0; });
    if (failed_) return false;
    job_ = job;
  }
  changed_.notify_all();
  return true;
}

bool BlockWriter::Submit() {
  const Job job{Block(), kBlockSize, written_};
  if (!Hand(job)) return false;
  written_ += static_cast<off_t>(kBlockSize);
  // The other block's write was finished before this one was handed over.
  current_ = 1 - current_;
  // Filling blocks from memory never waits when the disk keeps up: the window's
  // messages get their turn here too.
  CallWaitHook();
  return true;
}

bool BlockWriter::Finish(std::size_t size) {
  if (helper_.joinable() && !WaitForHelper()) return false;
  // Whole pages for a direct write: the padding is cut off again below.
  const std::size_t padded = direct_ ? (size + kPage - 1) / kPage * kPage : size;
  std::memset(Block() + size, 0, padded - size);
  if (padded > 0 && !Write(Job{Block(), padded, written_})) return false;
  const off_t length = written_ + static_cast<off_t>(size);
  return padded == size || ftruncate(fd_, length) == 0;
}

}  // namespace platform
