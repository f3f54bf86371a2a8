#include "platform/file_attributes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/testing/temp_folder.h"

namespace platform {
namespace {

using testing::TempFolder;

unsigned ModeOf(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return 0xFFFFFFFF;
  return st.st_mode & 07777;
}

// The value of user.DOSATTRIB, or "(none)".
std::string DosWordOf(const std::string& path) {
  char buffer[64];
  const ssize_t length = getxattr(path.c_str(), "user.DOSATTRIB", buffer, sizeof buffer);
  return length < 0 ? std::string("(none)") : std::string(buffer, static_cast<std::size_t>(length));
}

int RefuseExtendedAttributes(const char*, std::uint32_t) { return ENOTSUP; }
int FailExtendedAttributes(const char*, std::uint32_t) { return EIO; }

TEST(SetAttributes, ReplacesModeBitsAndTheDosWordWholesale) {
  struct Case {
    const char* name;
    bool folder;
    unsigned mode;
    std::uint32_t mask;
    unsigned newMode;
    const char* word;
  } const cases[] = {
      {"archive on a writable file", false, 0644, kArchive, 0644, "0x20"},
      {"read-only clears every write bit", false, 0666, kReadOnly | kHidden, 0444, "0x03"},
      {"clearing read-only gives the owner w", false, 0404, kArchive, 0604, "0x20"},
      {"a group write bit is not read-only", false, 0460, kArchive, 0460, "0x20"},
      {"all four", false, 0755, kReadOnly | kHidden | kSystem | kArchive, 0555, "0x27"},
      {"a folder keeps its folder bit", true, 0755, kArchive, 0755, "0x30"},
      {"a read-only folder", true, 0755, kReadOnly | kSystem, 0555, "0x15"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    const std::string path = c.folder ? temp.MakeFolder("x") : temp.Write("x", "data");
    ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
    ASSERT_EQ(setxattr(path.c_str(), "user.DOSATTRIB", "0x26", 4, 0), 0);
    EXPECT_TRUE(SetAttributes(NativePath(path), c.mask));
    EXPECT_EQ(ModeOf(path), c.newMode);
    EXPECT_EQ(DosWordOf(path), c.word);
    // What the file list reads back is what was set.
    const std::uint32_t read = ReadEntry(NativePath(path))->attributes;
    EXPECT_EQ(read & (kReadOnly | kHidden | kSystem | kArchive), c.mask);
    if (!c.folder) {
      EXPECT_EQ(temp.Read("x"), "data");
    }
  }
}

TEST(SetAttributes, WithoutExtendedAttributesOnlyReadOnlyAndArchiveAreCarried) {
  struct Case {
    const char* name;
    DosWordWriter writer;
    unsigned mode;
    std::uint32_t mask;
    bool done;
    unsigned newMode;
  } const cases[] = {
      {"read-only by the mode bits", RefuseExtendedAttributes, 0644, kReadOnly, true, 0444},
      {"archive gives the write bit back", RefuseExtendedAttributes, 0444, kArchive, true, 0644},
      {"hidden fails and leaves the mode", RefuseExtendedAttributes, 0644, kReadOnly | kHidden,
       false, 0644},
      {"system fails; the write bit given first is taken back", RefuseExtendedAttributes, 0444,
       kSystem, false, 0444},
      {"any other failure fails", FailExtendedAttributes, 0644, kReadOnly, false, 0644},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    const std::string path = temp.Write("x", "data");
    ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
    EXPECT_EQ(SetAttributes(NativePath(path), c.mask, c.writer), c.done);
    EXPECT_EQ(ModeOf(path), c.newMode);
    EXPECT_EQ(DosWordOf(path), "(none)");
  }
}

TEST(FileTimes, LocalTimesConvertWithTheZoneOfTheTests) {
  setenv("TZ", "Asia/Shanghai", 1);  // eight hours ahead of UTC all year
  tzset();
  struct Case {
    LocalDateTime local;
    std::int64_t seconds;
    std::int32_t nanoseconds;
  } const cases[] = {
      {{2020, 1, 2, 13, 14, 15, 0}, 1577942055, 0},
      {{2020, 1, 2, 13, 14, 15, 250}, 1577942055, 250'000'000},
      {{2024, 2, 29, 0, 0, 0, 999}, 1709136000, 999'000'000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    const FileTime t = LocalToFileTime(c.local);
    EXPECT_EQ(t.seconds, c.seconds);
    EXPECT_EQ(t.nanoseconds, c.nanoseconds);
    const LocalDateTime back = ToLocal(t);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", back),
              FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", c.local));
  }
}

TEST(FileTimes, WriteSetsAccessAndModificationExactly) {
  TempFolder temp;
  const std::string file = Utf8ToEngine(temp.Write("a.txt", "x"));
  const std::string folder = Utf8ToEngine(temp.MakeFolder("sub"));
  for (const std::string& path : {file, folder}) {
    SCOPED_TRACE(path);
    const std::optional<FileTimes> before = ReadFileTimes(NativePath(path));
    ASSERT_TRUE(before.has_value());
    ASSERT_TRUE(WriteFileTimes(NativePath(path), {1000000000, 5}, {1577942055, 123456789}));
    const std::optional<FileTimes> after = ReadFileTimes(NativePath(path));
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->lastAccess.seconds, 1000000000);
    EXPECT_EQ(after->lastAccess.nanoseconds, 5);
    EXPECT_EQ(after->lastWrite.seconds, 1577942055);
    EXPECT_EQ(after->lastWrite.nanoseconds, 123456789);
    EXPECT_EQ(after->creation.seconds, before->creation.seconds);
  }
  EXPECT_FALSE(ReadFileTimes(NativePath(temp.Path("missing"))).has_value());
  EXPECT_FALSE(WriteFileTimes(NativePath(temp.Path("missing")), {}, {}));
}

}  // namespace
}  // namespace platform
