#include "platform/file_write.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "platform/block_writer.h"
#include "platform/error.h"
#include "platform/rewrite_in_place.h"
#include "platform/testing/temp_folder.h"

namespace platform {
namespace {

using testing::TempFolder;

int ModeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

// Nothing but the named entries is left in the folder (no temporary sibling).
std::vector<std::string> Entries(const TempFolder& temp) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(temp.Path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReplaceFileContents, CreatesAndReplacesKeepingModeAndDosAttributes) {
  TempFolder temp;
  const std::string path = temp.Path("a.txt");
  ReplaceFileContents(NativePath(path), "new\r\n");
  EXPECT_EQ(temp.Read("a.txt"), "new\r\n");
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(ModeOf(path), static_cast<int>(0666 & ~mask));

  chmod(path.c_str(), 0640);
  ASSERT_EQ(setxattr(path.c_str(), "user.DOSATTRIB", "0x22", 4, 0), 0);
  ReplaceFileContents(NativePath(path), "second");
  EXPECT_EQ(temp.Read("a.txt"), "second");
  EXPECT_EQ(ModeOf(path), 0640);
  char value[16] = {};
  EXPECT_EQ(getxattr(path.c_str(), "user.DOSATTRIB", value, sizeof value), 4);
  EXPECT_STREQ(value, "0x22");
  EXPECT_EQ(Entries(temp), std::vector<std::string>{"a.txt"});
}

// A new file's mode comes from the umask of the moment, whatever it is.
TEST(ReplaceFileContents, GivesANewFileTheModeOfTheUmask) {
  TempFolder temp;
  const mode_t before = umask(027);
  ReplaceFileContents(NativePath(temp.Path("a.txt")), "new");
  umask(before);
  EXPECT_EQ(ModeOf(temp.Path("a.txt")), 0640);
}

// Samba may keep more than the text form in the attribute; all of it is carried over.
TEST(ReplaceFileContents, KeepsALongDosAttributeWhole) {
  TempFolder temp;
  const std::string path = temp.Write("a.txt", "old");
  std::string value = std::string("0x21", 5) + std::string(1000, '\x7f');
  ASSERT_EQ(setxattr(path.c_str(), "user.DOSATTRIB", value.data(), value.size(), 0), 0);
  ReplaceFileContents(NativePath(path), "new");
  std::string back(2000, '\0');
  const ssize_t size = getxattr(path.c_str(), "user.DOSATTRIB", back.data(), back.size());
  ASSERT_GE(size, 0);
  back.resize(static_cast<std::size_t>(size));
  EXPECT_TRUE(back == value);
}

// What a save did in a child process where some system calls fail.
enum class Outcome { Saved, Refused, NoFilter, Other };
std::ostream& operator<<(std::ostream& out, Outcome outcome) {
  const char* const names[] = {"saved", "refused", "no filter", "other"};
  return out << names[static_cast<int>(outcome)];
}

// Runs `save` in a child process in which each of `calls` fails with `error`, as a file
// system or a disk may make them fail (even for root).
Outcome WithCallsFailing(const std::vector<long>& calls, int error,
                         const std::function<void()>& save, const std::string& path) {
#if defined(__x86_64__)
  constexpr std::uint32_t kArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
  constexpr std::uint32_t kArch = AUDIT_ARCH_AARCH64;
#else
  return Outcome::NoFilter;
#endif
  const pid_t child = fork();
  if (child == 0) {
    std::vector<sock_filter> filter = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kArch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
    };
    for (const long call : calls) {
      filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<std::uint32_t>(call), 0, 1));
      filter.push_back(
          BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<std::uint32_t>(error)));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
      _exit(static_cast<int>(Outcome::NoFilter));
    try {
      save();
      _exit(static_cast<int>(Outcome::Saved));
    } catch (const CommandError& e) {
      _exit(static_cast<int>(e.what() == "Cannot create file " + path ? Outcome::Refused
                                                                      : Outcome::Other));
    }
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return Outcome::Other;
  return static_cast<Outcome>(WEXITSTATUS(status));
}

std::string DosAttributeOf(const std::string& path) {
  char value[64];
  const ssize_t size = getxattr(path.c_str(), "user.DOSATTRIB", value, sizeof value);
  return size < 0 ? std::string() : std::string(value, static_cast<std::size_t>(size));
}

// A save that cannot give the new text the file's permission bits or its DOS attribute
// word leaves the file as it was rather than widen or lose them. A file system without
// user attributes has no word to lose.
TEST(ReplaceFileContents, KeepsTheFileWhenItsModeOrDosWordCannotBeCarried) {
  std::vector<long> chmods;
#ifdef __NR_fchmod
  chmods.push_back(__NR_fchmod);
#endif
  chmods.push_back(__NR_fchmodat);
  struct Case {
    const char* name;
    std::vector<long> calls;
    int error;
    const char* dosWord;  // of the file before the save
    Outcome outcome;
  } const cases[] = {
      {"mode bits refused", chmods, EIO, "", Outcome::Refused},
      {"mode bits refused, DOS word present", chmods, EPERM, "0x21", Outcome::Refused},
      {"DOS word not written", {__NR_fsetxattr}, EIO, "0x22", Outcome::Refused},
      {"DOS word refused by the file system", {__NR_fsetxattr}, ENOTSUP, "0x22", Outcome::Refused},
      {"DOS word not read", {__NR_getxattr}, EIO, "0x22", Outcome::Refused},
      {"DOS word not read, none there", {__NR_getxattr}, EIO, "", Outcome::Refused},
      {"no user attributes on the file system",
       {__NR_getxattr, __NR_fsetxattr},
       ENOTSUP,
       "",
       Outcome::Saved},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    const std::string path = temp.Write("a.txt", "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    if (*c.dosWord != '\0') {
      ASSERT_EQ(setxattr(path.c_str(), "user.DOSATTRIB", c.dosWord, std::strlen(c.dosWord), 0), 0);
    }
    const Outcome outcome = WithCallsFailing(
        c.calls, c.error, [&] { ReplaceFileContents(NativePath(path), "new"); }, path);
    if (outcome == Outcome::NoFilter) GTEST_SKIP() << "system calls cannot be filtered here";
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(temp.Read("a.txt"), c.outcome == Outcome::Saved ? "new" : "old");
    EXPECT_EQ(ModeOf(path), 0640);
    EXPECT_EQ(DosAttributeOf(path), c.dosWord);
    EXPECT_EQ(Entries(temp), std::vector<std::string>{"a.txt"});
  }
}

// A backup copy that cannot take the original's permission bits is not made.
TEST(WriteCopy, MakesNoCopyWhoseModeCannotBeSet) {
  std::vector<long> chmods = {__NR_fchmodat};
#ifdef __NR_fchmod
  chmods.push_back(__NR_fchmod);
#endif
  TempFolder temp;
  const std::string original = temp.Write("a.txt", "text");
  ASSERT_EQ(chmod(original.c_str(), 0600), 0);
  const std::string copy = temp.Path("a.bak");
  const Outcome outcome = WithCallsFailing(
      chmods, EIO, [&] { WriteCopy(NativePath(original), NativePath(copy), "text"); }, copy);
  if (outcome == Outcome::NoFilter) GTEST_SKIP() << "system calls cannot be filtered here";
  EXPECT_EQ(outcome, Outcome::Refused);
  EXPECT_EQ(Entries(temp), std::vector<std::string>{"a.txt"});
}

TEST(ReplaceFileContents, RefusesAReadOnlyFileAndLeavesItAsItWas) {
  TempFolder temp;
  const std::string path = temp.Write("locked.txt", "old");
  chmod(path.c_str(), 0444);  // refused even for root, who could write it
  try {
    ReplaceFileContents(NativePath(path), "new");
    FAIL() << "no error";
  } catch (const CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
  }
  EXPECT_EQ(temp.Read("locked.txt"), "old");
  EXPECT_EQ(Entries(temp), std::vector<std::string>{"locked.txt"});
}

TEST(ReplaceFileContents, FailsCleanlyInAMissingFolder) {
  TempFolder temp;
  EXPECT_THROW(ReplaceFileContents(NativePath(temp.Path("missing/a.txt")), "x"), CommandError);
  EXPECT_TRUE(Entries(temp).empty());
}

// No write follows a symbolic link: a link in the file's place (a ".bak" path that is a
// link to a file elsewhere) is replaced itself, and what it pointed to stays as it was.
TEST(ReplaceFileContents, ReplacesALinkItselfNeverItsTarget) {
  TempFolder temp;
  const std::string target = temp.Write("elsewhere/target.txt", "old");
  chmod(target.c_str(), 0600);
  ASSERT_EQ(symlink(target.c_str(), temp.Path("a.txt.bak").c_str()), 0);
  const std::string original = temp.Write("a.txt", "text");
  chmod(original.c_str(), 0640);
  WriteCopy(NativePath(original), NativePath(temp.Path("a.txt.bak")), "text");
  EXPECT_EQ(temp.Read("elsewhere/target.txt"), "old");
  EXPECT_EQ(temp.Read("a.txt.bak"), "text");
  EXPECT_EQ(ModeOf(temp.Path("a.txt.bak")), 0640);
  struct stat st;
  ASSERT_EQ(lstat(temp.Path("a.txt.bak").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));

  ASSERT_EQ(symlink(target.c_str(), temp.Path("link.txt").c_str()), 0);
  ReplaceFileContents(NativePath(temp.Path("link.txt")), "new");
  EXPECT_EQ(temp.Read("elsewhere/target.txt"), "old");
  EXPECT_EQ(temp.Read("link.txt"), "new");
}

// A file with several hard links keeps its inode, so every link sees the new text, and
// nothing of the rewrite is left beside it or in the journal.
TEST(ReplaceFileContents, KeepsHardLinksTogether) {
  TempFolder temp;
  TempFolder journal;
  setenv("TESSALY_JOURNAL_DIR", journal.Path().c_str(), 1);
  const std::string target = temp.Write("target.txt", "old");
  ASSERT_EQ(link(target.c_str(), temp.Path("hard.txt").c_str()), 0);
  ReplaceFileContents(NativePath(temp.Path("hard.txt")), "shared");
  EXPECT_EQ(temp.Read("target.txt"), "shared");
  EXPECT_EQ(Entries(temp), (std::vector<std::string>{"hard.txt", "target.txt"}));
  EXPECT_TRUE(std::filesystem::is_empty(journal.Path("rewrites")));
}

// The bytes 0, 1, 2, ... of a stream of `size` bytes, so that a block written twice,
// lost or out of place shows.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 4093) & 0xFF);
  return bytes;
}

// Appends `bytes` in pieces of uneven sizes, one of them larger than a whole block.
void AppendInPieces(FileReplacement& file, std::string_view bytes) {
  const std::size_t sizes[] = {1, 4095, 3, BlockWriter::kBlockSize + 5, 70000, 2, 4096};
  for (std::size_t i = 0; !bytes.empty(); ++i) {
    const std::size_t n = std::min(bytes.size(), sizes[i % std::size(sizes)]);
    file.Append(bytes.substr(0, n));
    bytes.remove_prefix(n);
  }
}

// Streams of every length around pages and blocks come out byte for byte, on the disk
// and on a memory file system (which may take no direct writes).
TEST(FileReplacement, StreamsEveryLengthByteForByte) {
  const std::size_t block = BlockWriter::kBlockSize;
  const std::size_t lengths[] = {
      0, 1, 4095, 4096, 4097, block - 1, block, block + 1, 2 * block + 4097};
  std::vector<std::string> folders = {"disk"};
  if (std::filesystem::is_directory("/dev/shm")) folders.push_back("/dev/shm");
  for (const std::string& where : folders) {
    SCOPED_TRACE(where);
    TempFolder temp;
    std::string base = temp.Path();
    std::string shm;
    if (where != "disk") {
      shm = where + "/tessaly-test-XXXXXX";
      ASSERT_NE(mkdtemp(shm.data()), nullptr);
      base = shm;
    }
    for (const std::size_t length : lengths) {
      SCOPED_TRACE(length);
      const std::string path = base + "/a.bin";
      const std::string bytes = Pattern(length);
      FileReplacement file{NativePath(path)};
      AppendInPieces(file, bytes);
      file.Commit();
      std::ifstream in(path, std::ios::binary);
      const std::string back{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      EXPECT_EQ(back.size(), bytes.size());
      EXPECT_TRUE(back == bytes);
    }
    if (!shm.empty()) std::filesystem::remove_all(shm);
  }
}

// A disk that fills up halfway (here: a limit on file sizes) fails the save with the
// file error; the file keeps its old text and no part of the new one is left behind.
TEST(FileReplacement, AFullDiskLeavesTheFileAsItWas) {
  TempFolder temp;
  const std::string path = temp.Write("a.txt", "old");
  struct rlimit before;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto previous = signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = before;
  limited.rlim_cur = 3 * BlockWriter::kBlockSize / 2;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  std::string error = "no error";
  try {
    FileReplacement file{NativePath(path)};
    AppendInPieces(file, Pattern(3 * BlockWriter::kBlockSize));
    file.Commit();
  } catch (const CommandError& e) {
    error = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &before);
  signal(SIGXFSZ, previous);
  EXPECT_EQ(error, "Cannot create file " + path);
  EXPECT_EQ(temp.Read("a.txt"), "old");
  EXPECT_EQ(Entries(temp), (std::vector<std::string>{"a.txt"}));
}

// A process killed halfway through a save leaves the file as it was and, where the
// file system has unnamed files, not even a part of the new text beside it.
TEST(FileReplacement, AKilledSaveLeavesNothingBehind) {
  TempFolder temp;
  const std::string path = temp.Write("a.txt", "old");
  const int probe = open(temp.Path().c_str(), O_TMPFILE | O_RDWR, 0600);
  if (probe < 0) GTEST_SKIP() << "no unnamed files on this file system";
  close(probe);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    FileReplacement file{NativePath(path)};
    AppendInPieces(file, Pattern(3 * BlockWriter::kBlockSize));
    raise(SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(temp.Read("a.txt"), "old");
  EXPECT_EQ(Entries(temp), (std::vector<std::string>{"a.txt"}));
}

// A rewrite of a hard-linked file killed at any moment: once the next run has settled
// what the killed one left, the file holds exactly its old or its new bytes, and neither
// a copy beside it nor a record in the journal is left. The child is killed as soon as
// its record stands in the journal, or as soon as the file's first block has changed.
TEST(ReplaceFileContents, AKilledRewriteOfAHardLinkedFileIsSettledByTheNextRun) {
  TempFolder temp;
  TempFolder journal;
  setenv("TESSALY_JOURNAL_DIR", journal.Path().c_str(), 1);
  const std::string before(3 * BlockWriter::kBlockSize, 'o');
  const std::string after = Pattern(4 * BlockWriter::kBlockSize + 5);
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE(round);
    const std::string target = temp.Write("target.txt", before);
    std::filesystem::remove(temp.Path("hard.txt"));
    ASSERT_EQ(link(target.c_str(), temp.Path("hard.txt").c_str()), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ReplaceFileContents(NativePath(temp.Path("hard.txt")), after);
      _exit(0);
    }
    const bool atTheRecord = round % 2 == 0;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
      const bool begun = atTheRecord
                             ? std::filesystem::exists(journal.Path("rewrites")) &&
                                   !std::filesystem::is_empty(journal.Path("rewrites"))
                             : temp.Read("target.txt").compare(0, 4096, after, 0, 4096) == 0;
      if (begun) {
        kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, &status, 0), child);
        break;
      }
    }
    CompleteInterruptedRewrites();
    const std::string now = temp.Read("target.txt");
    EXPECT_TRUE(now == before || now == after) << now.size() << " bytes";
    EXPECT_EQ(temp.Read("hard.txt"), now);
    EXPECT_EQ(Entries(temp), (std::vector<std::string>{"hard.txt", "target.txt"}));
    EXPECT_TRUE(std::filesystem::is_empty(journal.Path("rewrites")));
  }
}

// Where a copy must have a name from the start (no unnamed files: stood for here by
// calls that find no /proc), it is named as this program's, and a save removes the
// copies that saves of processes now gone left in its folder, never a live one's.
TEST(ReplaceFileContents, ANamedCopyIsMarkedAndStaleOnesAreRemoved) {
  TempFolder temp;
  const std::string path = temp.Write("a.txt", "old");
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  char stale[64], live[64];
  std::snprintf(stale, sizeof stale, ".tessaly-%ld-00000000000000ab.tmp", static_cast<long>(gone));
  std::snprintf(live, sizeof live, ".tessaly-%ld-00000000000000cd.tmp",
                static_cast<long>(getpid()));
  temp.Write(stale, "left by a killed save");
  temp.Write(live, "a save under way");
  temp.Write(".tessaly-note.tmp", "not a copy's name");
  std::vector<long> calls;
#ifdef __NR_access
  calls.push_back(__NR_access);
#endif
  calls.push_back(__NR_faccessat);
#ifdef __NR_faccessat2
  calls.push_back(__NR_faccessat2);
#endif
  const Outcome outcome = WithCallsFailing(
      calls, ENOENT, [&] { ReplaceFileContents(NativePath(path), "new"); }, path);
  if (outcome == Outcome::NoFilter) GTEST_SKIP() << "no system call filter here";
  ASSERT_EQ(outcome, Outcome::Saved);
  EXPECT_EQ(temp.Read("a.txt"), "new");
  EXPECT_EQ(Entries(temp), (std::vector<std::string>{live, ".tessaly-note.tmp", "a.txt"}));
}

// A copy takes the permission bits of its original, whether it is new or replaces an
// earlier copy with other bits.
TEST(WriteCopy, TakesTheBytesGivenAndTheOriginalsPermissions) {
  TempFolder temp;
  const std::string original = temp.Write("a.txt", "text");
  chmod(original.c_str(), 0600);
  WriteCopy(NativePath(original), NativePath(temp.Path("new.bak")), "text");
  const std::string earlier = temp.Write("old.bak", "earlier copy");
  chmod(earlier.c_str(), 0644);
  WriteCopy(NativePath(original), NativePath(earlier), "text");
  for (const char* name : {"new.bak", "old.bak"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(temp.Read(name), "text");
    EXPECT_EQ(ModeOf(temp.Path(name)), 0600);
  }
}

TEST(DeleteFile, DeletesWritableFilesOnly) {
  TempFolder temp;
  const std::string plain = temp.Write("plain.txt", "x");
  const std::string locked = temp.Write("locked.txt", "x");
  chmod(locked.c_str(), 0444);
  EXPECT_TRUE(DeleteFile(NativePath(plain)));
  EXPECT_FALSE(DeleteFile(NativePath(locked)));
  EXPECT_FALSE(DeleteFile(NativePath(temp.Path("missing.txt"))));
  EXPECT_EQ(Entries(temp), std::vector<std::string>{"locked.txt"});
}

}  // namespace
}  // namespace platform
