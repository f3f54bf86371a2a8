#include "platform/runtime_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/testing/temp_folder.h"

namespace platform {
namespace {

using testing::TempFolder;

int ModeOf(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

// Which folder the answer should be.
enum class Expect { Current, Named, Fresh, None };

struct Row {
  const char* name;
  // Lays out the temporary folder (TEMP is temp.Path("tmp")) and returns `current`.
  std::function<std::string(const TempFolder&, const std::string& named)> arrange;
  Expect expect;
};

TEST(UsableRuntimeFolder, ChoosesAPrivateFolderOfOurOwn) {
  const mode_t mask = umask(022);
  const Row rows[] = {
      {"unset", [](const TempFolder&, const std::string&) { return std::string(); }, Expect::Named},
      {"usable as set",
       [](const TempFolder& temp, const std::string&) {
         const std::string path = temp.MakeFolder("set");
         chmod(path.c_str(), 0700);
         return path;
       },
       Expect::Current},
      {"set but missing is made",
       [](const TempFolder& temp, const std::string&) { return temp.Path("set"); },
       Expect::Current},
      {"set but open to others",
       [](const TempFolder& temp, const std::string&) {
         const std::string path = temp.MakeFolder("set");
         chmod(path.c_str(), 0755);
         return path;
       },
       Expect::Named},
      {"set to a file",
       [](const TempFolder& temp, const std::string&) { return temp.Write("set", "x"); },
       Expect::Named},
      {"set under a missing folder",
       [](const TempFolder& temp, const std::string&) { return temp.Path("no/set"); },
       Expect::Named},
      {"ours, opened up, is closed again",
       [](const TempFolder&, const std::string& named) {
         mkdir(named.c_str(), 0777);
         chmod(named.c_str(), 0777);
         return std::string();
       },
       Expect::Named},
      {"a link in the way",
       [](const TempFolder& temp, const std::string& named) {
         const std::string target = temp.MakeFolder("elsewhere");
         chmod(target.c_str(), 0700);
         symlink(target.c_str(), named.c_str());
         return std::string();
       },
       Expect::Fresh},
      {"a file in the way",
       [](const TempFolder&, const std::string& named) {
         std::FILE* file = std::fopen(named.c_str(), "w");
         std::fclose(file);
         return std::string();
       },
       Expect::Fresh},
      {"no temporary folder",
       [](const TempFolder& temp, const std::string&) {
         std::filesystem::remove(temp.Path("tmp"));
         return std::string();
       },
       Expect::None},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempFolder temp;
    const std::string tmp = temp.MakeFolder("tmp");
    const std::string named = tmp + "/runtime-" + std::to_string(geteuid());
    const std::string current = row.arrange(temp, named);
    const std::string chosen = UsableRuntimeFolder(current, tmp);
    switch (row.expect) {
      case Expect::Current:
        EXPECT_EQ(chosen, current);
        break;
      case Expect::Named:
        EXPECT_EQ(chosen, named);
        break;
      case Expect::Fresh:
        EXPECT_EQ(chosen.rfind(tmp + "/tessaly-runtime-", 0), 0u) << chosen;
        break;
      case Expect::None:
        EXPECT_EQ(chosen, "");
        continue;
    }
    EXPECT_EQ(ModeOf(chosen), 0700);
  }
  umask(mask);
}

// Root can hand the folder to another user; the folder is then not ours to use.
TEST(UsableRuntimeFolder, PassesOverAFolderOfAnotherUser) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a folder away";
  TempFolder temp;
  const std::string tmp = temp.MakeFolder("tmp");
  const std::string named = tmp + "/runtime-0";
  ASSERT_EQ(mkdir(named.c_str(), 0700), 0);
  ASSERT_EQ(chown(named.c_str(), 4242, 4242), 0);
  const std::string chosen = UsableRuntimeFolder("", tmp);
  EXPECT_EQ(chosen.rfind(tmp + "/tessaly-runtime-", 0), 0u) << chosen;
  EXPECT_EQ(ModeOf(named), 0700);
}

}  // namespace
}  // namespace platform
