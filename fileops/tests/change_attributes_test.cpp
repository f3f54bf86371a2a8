#include "fileops/change_attributes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cstdio>

#include "platform/code_page.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace fileops {
namespace {

using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

// "mode word" of a path: its permission bits in octal and its user.DOSATTRIB.
std::string StateOf(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return "(missing)";
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", st.st_mode & 07777);
  char word[32];
  const ssize_t length = getxattr(path.c_str(), "user.DOSATTRIB", word, sizeof word);
  return std::string(mode) + " " +
         (length < 0 ? std::string("-") : std::string(word, static_cast<std::size_t>(length)));
}

class ChangeAttributesRun : public ::testing::Test {
 protected:
  std::string List(const std::string& relative, bool marked = true) {
    const std::string path = temp_.Write(relative, "x");
    chmod(path.c_str(), 0644);  // whatever the umask says
    const std::size_t slash = path.rfind('/');
    chmod(path.substr(0, slash).c_str(), 0755);
    files_.AppendFileRow({platform::Utf8ToEngine(path.substr(slash + 1)),
                          platform::Utf8ToEngine(path.substr(0, slash)), "1", "", "", ""});
    files_.SetMark(files_.RowCount() - 1, marked);
    return path;
  }

  TempFolder temp_;
  fileset::FileList files_;
  RecordingHost host_;
};

TEST_F(ChangeAttributesRun, TheMaskReplacesTheAttributes) {
  struct Case {
    const char* name;
    ChangeAttributesSettings settings;
    const char* state;
  } const cases[] = {
      {"the default: archive alone", {}, "0644 0x20"},
      {"read-only and hidden, no archive", {false, false, true, true, false}, "0444 0x03"},
      {"all four", {true, true, true, true, false}, "0444 0x27"},
      {"system", {false, true, false, false, false}, "0644 0x04"},
      {"archive and system clear read-only", {true, true, false, false, false}, "0644 0x24"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files_.Reset();
    host_.boxes.clear();
    const std::string path = List("a.txt");
    const std::string unmarked = List("b.txt", false);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);  // read-only before, with a word of its own
    ASSERT_EQ(setxattr(path.c_str(), "user.DOSATTRIB", "0x07", 4, 0), 0);
    ASSERT_EQ(chmod(unmarked.c_str(), 0644), 0);
    host_.WriteCounter(platform::Counter::Change, 9);
    RunChangeAttributes(files_, c.settings, host_);
    EXPECT_EQ(StateOf(path), c.state);
    EXPECT_EQ(StateOf(unmarked), "0644 -");
    EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理文件总数量：1"}));
    chmod(path.c_str(), 0644);
  }
  EXPECT_EQ(host_.commandEnabled,
            (std::vector<bool>{false, true, false, true, false, true, false, true, false, true}));
}

TEST_F(ChangeAttributesRun, FoldersAreSetButNotCounted) {
  const std::string a1 = List("A/1.txt");
  const std::string b1 = List("B/1.txt");
  const std::string a2 = List("A/2.txt");
  const std::string c1 = List("C/1.txt", false);
  ChangeAttributesSettings settings;
  settings.hidden = true;
  settings.folders = true;
  RunChangeAttributes(files_, settings, host_);
  for (const std::string& file : {a1, b1, a2}) EXPECT_EQ(StateOf(file), "0644 0x22") << file;
  EXPECT_EQ(StateOf(temp_.Path("A")), "0755 0x32");
  EXPECT_EQ(StateOf(temp_.Path("B")), "0755 0x32");
  EXPECT_EQ(StateOf(temp_.Path("C")), "0755 -");
  EXPECT_EQ(StateOf(c1), "0644 -");
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理文件总数量：3"}));
}

TEST_F(ChangeAttributesRun, FailuresAreSkippedWithoutAWord) {
  const std::string gone = List("gone.txt");
  const std::string pipe = temp_.Path("pipe");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  files_.AppendFileRow({"pipe", platform::Utf8ToEngine(temp_.Path()), "0", "", "", ""});
  files_.SetMark(2, true);
  const std::string fine = List("fine.txt");
  std::remove(gone.c_str());
  ChangeAttributesSettings settings;
  settings.readOnly = true;
  RunChangeAttributes(files_, settings, host_);
  EXPECT_EQ(StateOf(pipe), "0644 -");
  EXPECT_EQ(StateOf(fine), "0444 0x21");
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理文件总数量：1"}));
}

}  // namespace
}  // namespace fileops
