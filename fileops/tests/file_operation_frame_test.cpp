#include "fileops/file_operation_frame.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace fileops {
namespace {

using platform::testing::RecordingHost;
using platform::testing::TempFolder;

// Asks every row and folder for a change of the attributes of a path that exists (the
// change then succeeds) or not (it fails), and notes each call.
class NotingOperation final : public FileOperation {
 public:
  NotingOperation(Folders folders, const TempFolder& temp) : FileOperation(folders), temp_(temp) {}
  std::string calls;
  std::string failingFolders;  // folder calls that fail, in order ("n"), then successes
  int endAtRow = 0;

  void Begin() override { calls += " begin"; }
  RowPlan PlanRow(const fileset::FileList&, int row) override {
    calls += " f" + std::to_string(row);
    if (row == endAtRow) return {std::nullopt, true};
    return {AttributesChange{platform::NativePath(temp_.Path()), platform::kArchive}};
  }
  std::optional<FileChange> PlanFolder(const platform::NativePath& native) override {
    const std::string_view path = native.bytes();
    calls +=
        " " + std::string(path.starts_with(temp_.Path()) ? path.substr(temp_.Path().size()) : path);
    const bool fails = folderCalls_ < failingFolders.size() && failingFolders[folderCalls_] == 'n';
    ++folderCalls_;
    return AttributesChange{platform::NativePath(fails ? temp_.Path("missing") : temp_.Path()),
                            platform::kArchive};
  }
  void UpdateRow(fileset::FileList& files, int row, const FileChange&) override {
    files.SetCell(row, fileset::kSizeColumn, "done");
  }

 private:
  const TempFolder& temp_;
  std::size_t folderCalls_ = 0;
};

class FileOperationFrame : public ::testing::Test {
 protected:
  // The folder of each row, below the temp folder; "-" before it: unmarked; "~": an
  // empty folder cell (a file in the root).
  void List(const char* rows) {
    std::istringstream in(rows);
    for (std::string folder; in >> folder;) {
      const bool marked = folder.front() != '-';
      if (!marked) folder.erase(0, 1);
      const std::string name = "f" + std::to_string(++listed_);
      files_.AppendFileRow({name, folder == "~" ? "" : temp_.Path() + folder, "0", "", "", ""});
      files_.SetMark(files_.RowCount() - 1, marked);
    }
  }

  TempFolder temp_;
  fileset::FileList files_;
  RecordingHost host_;
  int listed_ = 0;  // names the rows' files apart
};

TEST_F(FileOperationFrame, DoesEachFolderOncePerRunOfRows) {
  struct Case {
    const char* rows;
    const char* failingFolders;
    const char* calls;
  } const cases[] = {
      {"/a /a /a", "", "begin f1 /a f2 f3"},
      {"/a /b /a", "", "begin f1 /a f2 /b f3 /a"},  // only the last folder is remembered
      {"/a /a /a", "n", "begin f1 /a f2 /a f3"},    // a failed folder is tried again
      {"/a /b /a", "yn", "begin f1 /a f2 /b f3"},   // a failure keeps the folder done before
      {"/a -/b /a", "", "begin f1 /a f3"},          // unmarked rows do not part a run
      {"/a/B /a/b", "", "begin f1 /a/B f2 /a/b"},   // exact comparison
      {"~ ~", "", "begin f1 / f2"},                 // the root's rows keep an empty cell
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    files_.Reset();
    List(c.rows);
    NotingOperation operation(Folders::Yes, temp_);
    operation.failingFolders = c.failingFolders;
    RunFileOperationFrame(files_, host_, operation);
    EXPECT_EQ(operation.calls.substr(1), c.calls);
  }
}

TEST_F(FileOperationFrame, CountsMadeChangesAndEndsWhereARowSaysSo) {
  List("/a /a /a -/a /a");
  host_.counters[static_cast<int>(platform::Counter::Change)] = 9;
  NotingOperation operation(Folders::No, temp_);
  operation.endAtRow = 5;
  RunFileOperationFrame(files_, host_, operation);
  EXPECT_EQ(operation.calls, " begin f1 f2 f3 f5");
  EXPECT_EQ(host_.Count(platform::Counter::Change), 3);
  EXPECT_EQ(files_.Cell(3, fileset::kSizeColumn), "done");
  EXPECT_EQ(files_.Cell(4, fileset::kSizeColumn), "0");
  EXPECT_EQ(host_.boxes, std::vector<std::string>{"[info] 成功处理文件总数量：3"});
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true}));
}

// A file listed twice (two search patterns that both match it) is changed and counted
// once; times and attributes set twice would change nothing more.
TEST_F(FileOperationFrame, ChangesAPathListedTwiceOnce) {
  List("/a /b");
  files_.AppendFileRow(files_.Row(1));
  files_.SetMark(3, true);
  NotingOperation operation(Folders::No, temp_);
  RunFileOperationFrame(files_, host_, operation);
  EXPECT_EQ(operation.calls, " begin f1 f2");
  EXPECT_EQ(host_.Count(platform::Counter::Change), 2);
}

TEST_F(FileOperationFrame, LetsMessagesRunPerRowAndReadsTheMarksAgain) {
  List("/a /a /a");
  files_.SetMark(3, false);
  // A click while messages run moves a mark from row 2 to row 3.
  struct ClickingHost : RecordingHost {
    fileset::FileList* files = nullptr;
    void ProcessMessages() override {
      if (++messageRuns == 2) {
        files->SetMark(2, false);
        files->SetMark(3, true);
      }
    }
  } host;
  host.files = &files_;
  NotingOperation operation(Folders::No, temp_);
  RunFileOperationFrame(files_, host, operation);
  EXPECT_EQ(operation.calls, " begin f1 f3");
  EXPECT_EQ(host.messageRuns, 3);
}

TEST_F(FileOperationFrame, AnErrorEndsTheRunWithoutAClosingMessage) {
  List("/a /a");
  struct Failing final : FileOperation {
    void Begin() override { platform::ThrowInvalidInteger("x"); }
    RowPlan PlanRow(const fileset::FileList&, int) override { return {}; }
  } operation;
  host_.counters[static_cast<int>(platform::Counter::Change)] = 9;
  EXPECT_THROW(RunFileOperationFrame(files_, host_, operation), platform::CommandError);
  EXPECT_EQ(host_.Count(platform::Counter::Change), 0);  // set before the run's reading
  EXPECT_TRUE(host_.boxes.empty());
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace fileops
