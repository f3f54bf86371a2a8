#pragma once
// The writing of a new file's bytes, in order, through two large blocks: while one is
// filled, a helper thread writes the other. The file descriptor is switched to direct
// writes (past the file cache) where the file system allows; blocks are page-aligned
// and the last one is padded and the file cut back to its length, as direct writes
// require whole pages.

#include <sys/types.h>

#include <condition_variable>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

class BlockWriter {
 public:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

  explicit BlockWriter(int fd);
  ~BlockWriter();
  BlockWriter(const BlockWriter&) = delete;
  BlockWriter& operator=(const BlockWriter&) = delete;

  // The block to fill, kBlockSize bytes.
  char* Block() const { return blocks_[current_].get(); }
  // Hands the full current block over to be written; the next block is then Block().
  // False when an earlier write failed.
  bool Submit();
  // Writes the first `size` bytes of the current block as the end of the file and waits
  // for every write. False when any write failed.
  bool Finish(std::size_t size);

 private:
  struct Job {
    const char* data = nullptr;
    std::size_t size = 0;
    off_t offset = 0;
  };
  bool Write(const Job& job);
  bool Hand(const Job& job);
  bool WaitForHelper();
  void Help();

  int fd_;
  bool direct_ = false;
  struct Free {
    void operator()(char* block) const { std::free(block); }
  };
  std::unique_ptr<char, Free> blocks_[2];  // page-aligned, as direct writes need
  int current_ = 0;
  off_t written_ = 0;  // bytes handed over so far

  std::thread helper_;  // started with the first full block: small files need none
  std::mutex mutex_;
  std::condition_variable changed_;
  Job job_;  // size 0: none waiting
  bool failed_ = false;
  bool quit_ = false;
};

}  // namespace platform
