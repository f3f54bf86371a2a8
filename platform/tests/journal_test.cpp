#include "platform/journal.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/file_write.h"
#include "platform/journal_folder.h"
#include "platform/journal_undo.h"
#include "platform/testing/temp_folder.h"

namespace platform {
namespace {

// Everything an undo must bring back, for every entry of a folder.
using State = std::map<std::string, std::tuple<std::string, mode_t, std::int64_t, std::string>>;

class Journal : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TESSALY_JOURNAL_DIR", journal_.Path().c_str(), 1);
    unsetenv("TESSALY_JOURNAL_MAX_MB");
  }
  void TearDown() override { unsetenv("TESSALY_JOURNAL_MAX_MB"); }

  State Snapshot() const {
    State state;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(files_.Path())) {
      const std::string path = entry.path().string();
      struct stat st;
      lstat(path.c_str(), &st);
      char dos[64] = {};
      const ssize_t n = lgetxattr(path.c_str(), kDosAttributeName, dos, sizeof dos);
      state[path] = {
          entry.is_regular_file() ? files_.Read(path.substr(files_.Path().size() + 1))
                                  : std::string(),
          st.st_mode,
          entry.is_regular_file() ? st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec : 0,
          std::string(dos, n > 0 ? static_cast<std::size_t>(n) : 0)};
    }
    return state;
  }
  NativePath File(std::string_view name) const { return NativePath(files_.Path(name)); }
  std::uint64_t LastRun() const { return JournalRuns(NativePath(journal_.Path())).back(); }

  testing::TempFolder files_;
  testing::TempFolder journal_;
};

// Renames, times, attributes, replaced and new files and deletions all come back, the
// later changes first, and a second undo finds the run undone.
TEST_F(Journal, UndoPutsBackEveryKindOfChange) {
  files_.Write("a.txt", "old a");
  files_.Write("b.txt", "old b");
  files_.Write("c.txt", "old c");
  files_.Write("d.txt", "old d");
  files_.Write("b.txt.bak", "older copy");
  const State before = Snapshot();
  {
    const JournalScope scope("内容按行删除");
    ASSERT_TRUE(RenameNoReplace(NativePath(files_.Path()), "a.txt", "a2.txt"));
    ASSERT_TRUE(RenameNoReplace(NativePath(files_.Path()), "a2.txt", "a3.txt"));
    ASSERT_TRUE(WriteFileTimes(File("c.txt"), {86400, 5}, {86400, 7}));
    ASSERT_TRUE(SetAttributes(File("c.txt"), kReadOnly | kHidden));
    WriteCopy(File("b.txt"), File("b.txt.bak"), "old b");
    ReplaceFileContents(File("b.txt"), "new b");
    ReplaceFileContents(File("new.txt"), "made");
    ASSERT_TRUE(DeleteFile(File("d.txt")));
    EXPECT_FALSE(RenameNoReplace(NativePath(files_.Path()), "missing", "x"));  // cancelled
  }
  ASSERT_NE(Snapshot(), before);
  const std::vector<JournalRun> history = JournalHistory();
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].mode, "内容按行删除");
  EXPECT_EQ(history[0].files, 7);  // a.txt, a2.txt, c.txt, b.txt.bak, b.txt, new.txt, d.txt
  EXPECT_EQ(history[0].state, RunState::Undoable);

  const UndoResult undone = UndoRun(history[0].id);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(undone.restored, 8);
  EXPECT_EQ(undone.leftAlone, 0);
  EXPECT_EQ(UndoMessage(undone), "成功撤销 8 个文件");
  EXPECT_EQ(JournalHistory()[0].state, RunState::Undone);
  EXPECT_EQ(UndoRun(history[0].id).restored, 0);
}

// A file changed again after the run is left alone and counted, and undo never writes
// over a file that took a name meanwhile.
TEST_F(Journal, FilesChangedSinceTheRunAreLeftAlone) {
  files_.Write("a.txt", "old");
  files_.Write("b.txt", "1");
  {
    const JournalScope scope("更改文件名称");
    ReplaceFileContents(File("a.txt"), "run");
    ASSERT_TRUE(RenameNoReplace(NativePath(files_.Path()), "b.txt", "c.txt"));
  }
  files_.Write("a.txt", "edited later");
  files_.Write("b.txt", "a new b");
  const UndoResult undone = UndoRun(LastRun());
  EXPECT_EQ(undone.restored, 0);
  EXPECT_EQ(undone.leftAlone, 2);
  EXPECT_EQ(UndoMessage(undone), "成功撤销 0 个文件\n2 个文件在运行后又被修改，未撤销");
  EXPECT_EQ(files_.Read("a.txt"), "edited later");
  EXPECT_EQ(files_.Read("b.txt"), "a new b");
  EXPECT_EQ(files_.Read("c.txt"), "1");
}

// A file with a second hard link is written over in place, and so is its undo: both
// names show the old bytes again.
TEST_F(Journal, HardLinkedFilesComeBackInPlace) {
  files_.Write("a.txt", "old");
  ASSERT_EQ(link(files_.Path("a.txt").c_str(), files_.Path("other.txt").c_str()), 0);
  {
    const JournalScope scope("行内容插入字符");
    ReplaceFileContents(File("a.txt"), "new bytes");
  }
  ASSERT_EQ(files_.Read("other.txt"), "new bytes");
  EXPECT_EQ(UndoRun(LastRun()).restored, 1);
  EXPECT_EQ(files_.Read("a.txt"), "old");
  EXPECT_EQ(files_.Read("other.txt"), "old");
}

// A damaged line or a line cut short by a kill is reported and never applied; the
// records around it still are.
TEST_F(Journal, DamagedRecordsAreSkipped) {
  for (const char* name : {"a", "b", "c"}) files_.Write(name, name);
  {
    const JournalScope scope("更改文件名称");
    for (const char* name : {"a", "b", "c"})
      ASSERT_TRUE(RenameNoReplace(NativePath(files_.Path()), name, std::string(name) + "2"));
  }
  const std::string records =
      RunFolder(NativePath(journal_.Path()), LastRun()).bytes() + "/records";
  std::ifstream in(records, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  text[text.find("\tR\t") + 4] ^= 1;  // a's record no longer matches its check
  text.resize(text.size() - 3);       // c's record cut short
  std::ofstream(records, std::ios::binary | std::ios::trunc) << text;
  const UndoResult undone = UndoRun(LastRun());
  EXPECT_EQ(undone.damaged, 2);
  EXPECT_EQ(undone.restored, 1);
  EXPECT_TRUE(std::filesystem::exists(files_.Path("a2")));
  EXPECT_TRUE(std::filesystem::exists(files_.Path("b")));
  EXPECT_TRUE(std::filesystem::exists(files_.Path("c2")));
}

// A run killed after its record and its change but before the outcome record is
// undone from the identity recorded ahead.
TEST_F(Journal, AKilledRunIsUndoneFromItsRecordsAlone) {
  files_.Write("a.txt", "old");
  files_.Write("new.txt", "made");
  {
    std::unique_ptr<RunJournal> journal = RunJournal::Open("行内容插入字符");
    struct stat made;
    ASSERT_EQ(stat(files_.Path("new.txt").c_str(), &made), 0);
    journal->Replacing(File("a.txt"), made, false);
    ASSERT_EQ(std::rename(files_.Path("new.txt").c_str(), files_.Path("a.txt").c_str()), 0);
  }
  EXPECT_EQ(UndoRun(LastRun()).restored, 1);
  EXPECT_EQ(files_.Read("a.txt"), "old");
}

// Old files count against the byte limit, linked or copied: older runs go first, and a
// run that cannot keep a file is partly undoable. At most the last 100 runs are kept.
TEST_F(Journal, LimitsDropOldRunsFirst) {
  setenv("TESSALY_JOURNAL_MAX_MB", "1", 1);
  const std::string sixHundredKiB(600 * 1024, 'x');
  files_.Write("a.txt", sixHundredKiB);
  files_.Write("b.txt", sixHundredKiB);
  files_.Write("big.txt", std::string(2 * 1024 * 1024, 'y'));
  for (const char* name : {"a.txt", "b.txt", "big.txt"}) {
    const JournalScope scope("行内容截取字符");
    ReplaceFileContents(File(name), "short");
  }
  std::vector<JournalRun> history = JournalHistory();
  ASSERT_EQ(history.size(), 2u);  // the run of a.txt made room for b.txt's
  EXPECT_EQ(history[0].state, RunState::Partly);
  EXPECT_EQ(history[1].state, RunState::Undoable);
  EXPECT_EQ(UndoRunsFrom(history[1].id).restored, 1);  // big.txt was not kept
  EXPECT_EQ(files_.Read("b.txt"), sixHundredKiB);
  EXPECT_EQ(files_.Read("big.txt"), "short");

  unsetenv("TESSALY_JOURNAL_MAX_MB");
  for (int run = 0; run < kKeptRuns + 3; ++run) {
    const JournalScope scope("更改文件名称");
    RenameNoReplace(NativePath(files_.Path()), run % 2 ? "b2.txt" : "b.txt",
                    run % 2 ? "b.txt" : "b2.txt");
  }
  history = JournalHistory();
  EXPECT_EQ(history.size(), static_cast<std::size_t>(kKeptRuns));
}

TEST(JournalField, EscapesWhatWouldBreakALine) {
  const std::string bytes = std::string("a\tb\nc%d e\x7f\xb0\xa1", 12) + std::string(1, '\0');
  const std::string field = EscapeField(bytes);
  EXPECT_EQ(field.find_first_of(std::string("\t\n \0", 4)), std::string::npos);
  EXPECT_EQ(UnescapeField(field), bytes);
}

}  // namespace
}  // namespace platform
