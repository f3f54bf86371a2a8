#include "platform/file_bytes.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/testing/temp_folder.h"

namespace platform {
namespace {

using testing::TempFolder;

constexpr std::size_t kPage = 4096;

// Bytes none of which is zero, so that a zero shows a lost byte.
std::string Letters(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 26);
  return bytes;
}

bool AllZeros(std::string_view bytes) {
  return bytes.find_first_not_of('\0') == std::string_view::npos;
}

// A mapped file cut short under the reader: what is left reads as it was, what is lost
// reads as zeros, the program goes on, and the bytes are known not to be the file.
TEST(FileBytes, AFileCutShortReadsAsZerosAndIsNotIntact) {
  const std::size_t cuts[] = {0, 1, kPage, kPage + 5, 3 * kPage - 1};
  const std::string text = Letters(3 * kPage + 100);
  for (const std::size_t cut : cuts) {
    SCOPED_TRACE(cut);
    TempFolder temp;
    const std::string path = temp.Write("a.txt", text);
    const FileBytes file{NativePath(path)};
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(cut)), 0);
    const std::string_view bytes = file.bytes();
    ASSERT_EQ(bytes.size(), text.size());
    EXPECT_TRUE(bytes.substr(0, cut) == std::string_view(text).substr(0, cut));
    EXPECT_TRUE(AllZeros(bytes.substr(cut)));
    EXPECT_FALSE(file.Intact());
  }
}

// Files opened while every guarded slot is taken are read: cut short, they keep their
// bytes. A slot given back serves the next file.
TEST(FileBytes, MoreFilesThanGuardedMappingsAreRead) {
  TempFolder temp;
  const std::string text = Letters(2 * kPage);
  std::vector<std::string> paths;
  std::vector<FileBytes> files;
  for (int i = 0; i <= FileBytes::kGuardedMappings; ++i) {
    paths.push_back(temp.Write(std::to_string(i) + ".txt", text));
    files.emplace_back(NativePath(paths.back()));
  }
  for (const std::string& path : paths) ASSERT_EQ(truncate(path.c_str(), 0), 0);
  for (std::size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(i);
    const bool read = i == static_cast<std::size_t>(FileBytes::kGuardedMappings);
    EXPECT_EQ(AllZeros(files[i].bytes()), !read);
    EXPECT_EQ(files[i].bytes() == text, read);
    EXPECT_FALSE(files[i].Intact());
  }

  files.erase(files.begin());
  const std::string next = temp.Write("next.txt", text);
  const FileBytes again{NativePath(next)};
  ASSERT_EQ(truncate(next.c_str(), 0), 0);
  EXPECT_TRUE(AllZeros(again.bytes()));
}

// Exit statuses of a child process that tell what happened to it.
constexpr int kGuardHeld = 0;
constexpr int kSurvived = 1;
constexpr int kHandlerSawSent = 2;
constexpr int kHandlerSawFault = 3;

// Stands for a handler the program had before the guard.
void EarlierHandler(int, siginfo_t* info, void*) {
  _exit(info->si_code == BUS_ADRERR ? kHandlerSawFault : kHandlerSawSent);
}

// Pages of a memory file, mapped or read through its /proc path: nothing is left behind
// by a child that dies.
struct MemoryFile {
  MemoryFile() : fd(memfd_create("guarded", MFD_CLOEXEC)) {
    const std::string text = Letters(2 * kPage);
    if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
      _exit(99);
  }
  std::string Path() const { return "/proc/self/fd/" + std::to_string(fd); }
  void CutShort() const {
    if (ftruncate(fd, 0) != 0) _exit(99);
  }
  int fd;
};

enum class Earlier { Default, Ignored, Handler };
enum class Source { Sent, FaultOutsideTheGuard };

// Runs in a child process started afresh, so that the guard is installed there for the
// first time, over `earlier`.
[[noreturn]] void SignalNotOurs(Earlier earlier, Source source) {
  struct sigaction action {};
  sigemptyset(&action.sa_mask);
  if (earlier == Earlier::Handler) {
    action.sa_sigaction = EarlierHandler;
    action.sa_flags = SA_SIGINFO;
  } else {
    action.sa_handler = earlier == Earlier::Ignored ? SIG_IGN : SIG_DFL;
  }
  sigaction(SIGBUS, &action, nullptr);

  const MemoryFile guarded;
  const FileBytes file{NativePath(guarded.Path()), FileBytes::Link::Follow};  // installs the guard
  if (source == Source::Sent) {
    raise(SIGBUS);
  } else {
    const MemoryFile unguarded;
    void* mapped = mmap(nullptr, 2 * kPage, PROT_READ, MAP_PRIVATE, unguarded.fd, 0);
    if (mapped == MAP_FAILED) _exit(99);
    unguarded.CutShort();
    [[maybe_unused]] const volatile char lost = static_cast<const volatile char*>(mapped)[kPage];
  }
  // Only an ignored signal may be survived, and the guard must still work after it.
  if (earlier != Earlier::Ignored) _exit(kSurvived);
  guarded.CutShort();
  _exit(AllZeros(file.bytes()) && !file.Intact() ? kGuardHeld : kSurvived);
}

// A SIGBUS that is no access to a guarded mapping reaches what would have had it without
// the guard: the earlier handler, or the default action, which ends the program. An
// ignored signal sent by a program stays ignored, and the guard stays in place.
TEST(FileBytesDeathTest, SignalsNotFromAGuardedMappingArePassedOn) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(SignalNotOurs(Earlier::Default, Source::Sent), ::testing::KilledBySignal(SIGBUS), "");
  EXPECT_EXIT(SignalNotOurs(Earlier::Default, Source::FaultOutsideTheGuard),
              ::testing::KilledBySignal(SIGBUS), "");
  EXPECT_EXIT(SignalNotOurs(Earlier::Handler, Source::Sent),
              ::testing::ExitedWithCode(kHandlerSawSent), "");
  EXPECT_EXIT(SignalNotOurs(Earlier::Handler, Source::FaultOutsideTheGuard),
              ::testing::ExitedWithCode(kHandlerSawFault), "");
  EXPECT_EXIT(SignalNotOurs(Earlier::Ignored, Source::Sent), ::testing::ExitedWithCode(kGuardHeld),
              "");
  EXPECT_EXIT(SignalNotOurs(Earlier::Ignored, Source::FaultOutsideTheGuard),
              ::testing::KilledBySignal(SIGBUS), "");
}

}  // namespace
}  // namespace platform
