#include "platform/file_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>

#include "platform/error.h"
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
  ReplaceFileContents(path, "new\r\n");
  EXPECT_EQ(temp.Read("a.txt"), "new\r\n");
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(ModeOf(path), static_cast<int>(0666 & ~mask));

  chmod(path.c_str(), 0640);
  ASSERT_EQ(setxattr(path.c_str(), "user.DOSATTRIB", "0x22", 4, 0), 0);
  ReplaceFileContents(path, "second");
  EXPECT_EQ(temp.Read("a.txt"), "second");
  EXPECT_EQ(ModeOf(path), 0640);
  char value[16] = {};
  EXPECT_EQ(getxattr(path.c_str(), "user.DOSATTRIB", value, sizeof value), 4);
  EXPECT_STREQ(value, "0x22");
  EXPECT_EQ(Entries(temp), std::vector<std::string>{"a.txt"});
}

TEST(ReplaceFileContents, RefusesAReadOnlyFileAndLeavesItAsItWas) {
  TempFolder temp;
  const std::string path = temp.Write("locked.txt", "old");
  chmod(path.c_str(), 0444);  // refused even for root, who could write it
  try {
    ReplaceFileContents(path, "new");
    FAIL() << "no error";
  } catch (const CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
  }
  EXPECT_EQ(temp.Read("locked.txt"), "old");
  EXPECT_EQ(Entries(temp), std::vector<std::string>{"locked.txt"});
}

TEST(ReplaceFileContents, FailsCleanlyInAMissingFolder) {
  TempFolder temp;
  EXPECT_THROW(ReplaceFileContents(temp.Path("missing/a.txt"), "x"), CommandError);
  EXPECT_TRUE(Entries(temp).empty());
}

TEST(ReplaceFileContents, FollowsALinkAndKeepsHardLinksTogether) {
  TempFolder temp;
  const std::string target = temp.Write("target.txt", "old");
  ASSERT_EQ(symlink(target.c_str(), temp.Path("link.txt").c_str()), 0);
  ReplaceFileContents(temp.Path("link.txt"), "through the link");
  EXPECT_EQ(temp.Read("target.txt"), "through the link");
  struct stat st;
  ASSERT_EQ(lstat(temp.Path("link.txt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));

  ASSERT_EQ(link(target.c_str(), temp.Path("hard.txt").c_str()), 0);
  ReplaceFileContents(temp.Path("hard.txt"), "shared");
  EXPECT_EQ(temp.Read("target.txt"), "shared");
  EXPECT_EQ(Entries(temp), (std::vector<std::string>{"hard.txt", "link.txt", "target.txt"}));
}

TEST(DeleteFile, DeletesWritableFilesOnly) {
  TempFolder temp;
  const std::string plain = temp.Write("plain.txt", "x");
  const std::string locked = temp.Write("locked.txt", "x");
  chmod(locked.c_str(), 0444);
  EXPECT_TRUE(DeleteFile(plain));
  EXPECT_FALSE(DeleteFile(locked));
  EXPECT_FALSE(DeleteFile(temp.Path("missing.txt")));
  EXPECT_EQ(Entries(temp), std::vector<std::string>{"locked.txt"});
}

}  // namespace
}  // namespace platform
