#include "fileset/list_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace fileset {
namespace {

using platform::Counter;
using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

class ListCommands : public ::testing::Test {
 protected:
  // Adds files of the temp folder (created with their names as content) to the list.
  void Add(std::initializer_list<const char*> names) {
    std::vector<platform::NativePath> paths;
    for (const char* name : names) {
      if (!temp_.Exists(name)) temp_.Write(name, name);
      paths.emplace_back(temp_.Path(name));
    }
    AddFiles(files_, paths, host_);
  }
  Texts Names() const {
    Texts names;
    for (int row = 1; row < files_.RowCount(); ++row)
      names.push_back(platform::EngineToUtf8(files_.Cell(row, kNameColumn)));
    return names;
  }
  PickExportFile PickFile(const std::string& relative) {
    return [this, relative] {
      return std::optional<platform::NativePath>(platform::NativePath(temp_.Path(relative)));
    };
  }

  TempFolder temp_;
  FileList files_;
  RecordingHost host_;
};

TEST_F(ListCommands, AddingFillsRowsInOrderAndCountsThem) {
  temp_.Write("real.txt");
  ASSERT_EQ(symlink(temp_.Path("real.txt").c_str(), temp_.Path("link.txt").c_str()), 0);
  files_.SetMark(3, true);
  Add({"a.txt", "中文.ini", "a.txt"});
  AddFiles(files_,
           {platform::NativePath(temp_.Path("missing.txt")),
            platform::NativePath(temp_.Path("link.txt"))},
           host_);
  EXPECT_EQ(Names(), (Texts{"a.txt", "中文.ini", "a.txt"}));
  EXPECT_EQ(files_.Cell(2, kFolderColumn), temp_.Path());
  EXPECT_EQ(files_.Cell(2, kTypeColumn), ".ini");
  EXPECT_EQ(files_.Cell(1, kSizeColumn), "5");
  EXPECT_TRUE(files_.IsMarked(3));  // a stored mark shows on the new row
  EXPECT_EQ(host_.Count(Counter::Search), 3);
}

TEST_F(ListCommands, RemovingLeavesMarksInPlaceAndNeverCountsBelowZero) {
  Add({"1", "2", "3", "4", "5"});
  files_.SetMark(2, true);
  files_.SetMark(4, true);
  RemoveMarkedRows(files_, host_);
  EXPECT_EQ(Names(), (Texts{"1", "3", "5"}));
  EXPECT_TRUE(files_.IsMarked(2));
  EXPECT_FALSE(files_.IsMarked(3));
  EXPECT_EQ(host_.Count(Counter::Search), 3);
  EXPECT_TRUE(temp_.Exists("2"));  // nothing on disk is touched

  for (int row = 1; row <= 3; ++row) files_.SetMark(row, true);
  RemoveMarkedRows(files_, host_);
  EXPECT_TRUE(files_.IsEmpty());
  EXPECT_EQ(host_.Count(Counter::Search), 0);
  RemoveMarkedRows(files_, host_);  // the empty row carries a mark: still no file
  EXPECT_EQ(files_.RowCount(), 2);
  EXPECT_EQ(host_.Count(Counter::Search), 0);
}

TEST_F(ListCommands, ExportedNamesAndFoldersFollowRowOrder) {
  files_.AppendFileRow({"b.txt", "/Data/One", "", "", "", ""});
  files_.AppendFileRow({"a.txt", "/data/one", "", "", "", ""});
  files_.AppendFileRow({"c.txt", "/data/two", "", "", "", ""});
  files_.AppendFileRow({"b.txt", "/Data/One", "", "", "", ""});
  for (int row = 1; row <= 4; ++row) files_.SetMark(row, true);
  EXPECT_EQ(MarkedNames(files_, false), (Texts{"b.txt", "a.txt", "c.txt", "b.txt"}));
  EXPECT_EQ(MarkedNames(files_, true),
            (Texts{"/Data/One/b.txt", "/data/one/a.txt", "/data/two/c.txt", "/Data/One/b.txt"}));
  EXPECT_EQ(MarkedFolders(files_), (Texts{"/Data/One", "/data/two"}));
  files_.SetMark(1, false);  // the first folder met now has the other spelling
  EXPECT_EQ(MarkedFolders(files_), (Texts{"/data/one", "/data/two"}));
}

TEST_F(ListCommands, ExportWritesEngineTextWithCrLfAfterEveryLine) {
  files_.AppendFileRow({platform::Utf8ToEngine("报告.txt"), "/d", "", "", "", ""});
  files_.AppendFileRow({"b.txt", "/e", "", "", "", ""});
  files_.SetMark(1, true);
  files_.SetMark(2, true);
  host_.answers = {false, true};
  RunExportNames(files_, host_, PickFile("names.txt"));
  EXPECT_EQ(temp_.Read("names.txt"), "\xB1\xA8\xB8\xE6.txt\r\nb.txt\r\n");
  RunExportNames(files_, host_, PickFile("paths.txt"));
  EXPECT_EQ(temp_.Read("paths.txt"), "/d/\xB1\xA8\xB8\xE6.txt\r\n/e/b.txt\r\n");
  RunExportFolders(files_, host_, PickFile("folders.txt"));
  EXPECT_EQ(temp_.Read("folders.txt"), "/d\r\n/e\r\n");
  EXPECT_EQ(host_.boxes, (Texts{"[question] 导出文件名称时，是否包含文件目录？ -> no",
                                "[info] 文件名称导出成功,导出总数量：2",
                                "[question] 导出文件名称时，是否包含文件目录？ -> yes",
                                "[info] 文件名称导出成功,导出总数量：2",
                                "[info] 文件目录导出成功,导出总数量：2"}));
}

TEST_F(ListCommands, CancelledOrFailedExportWritesNothingAndFreesTheButton) {
  files_.AppendFileRow({"a.txt", "/d", "", "", "", ""});
  files_.SetMark(1, true);
  RunExportFolders(files_, host_, [] { return std::optional<platform::NativePath>(); });
  EXPECT_TRUE(host_.boxes.empty());

  const std::string locked = temp_.Write("locked.txt", "old");
  chmod(locked.c_str(), 0444);
  EXPECT_THROW(RunExportFolders(files_, host_, PickFile("locked.txt")), platform::CommandError);
  EXPECT_EQ(temp_.Read("locked.txt"), "old");
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true, false, true}));
}

TEST_F(ListCommands, DeletingSkipsReadOnlyFilesAndCountsTheRest) {
  Add({"keep.txt", "a.txt", "ro.txt", "b.txt"});
  chmod(temp_.Path("ro.txt").c_str(), 0444);
  for (int row = 2; row <= 4; ++row) files_.SetMark(row, true);
  host_.WriteCounter(Counter::Delete, 7);

  host_.answers = {false};
  RunDeleteMarkedFiles(files_, host_);
  EXPECT_TRUE(temp_.Exists("a.txt"));
  EXPECT_EQ(host_.Count(Counter::Delete), 7);

  host_.answers = {true};
  RunDeleteMarkedFiles(files_, host_);
  EXPECT_EQ(Names(), (Texts{"keep.txt", "ro.txt"}));
  EXPECT_FALSE(temp_.Exists("a.txt"));
  EXPECT_FALSE(temp_.Exists("b.txt"));
  EXPECT_TRUE(temp_.Exists("ro.txt"));
  EXPECT_TRUE(files_.IsMarked(2));
  EXPECT_EQ(host_.Count(Counter::Delete), 2);
  EXPECT_EQ(host_.Count(Counter::Search), 2);
}

}  // namespace
}  // namespace fileset
