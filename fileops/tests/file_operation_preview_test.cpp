#include "fileops/file_operation_preview.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "fileops/change_attributes.h"
#include "fileops/change_extension.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace fileops {
namespace {

using fileset::PreviewStatus;

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

class FileOperationPreview : public ::testing::Test {
 protected:
  void List(const char* name, bool marked = true) {
    if (!temp_.Exists(name)) temp_.Write(name, "x");
    files_.AppendFileRow({name, temp_.Path(), "1", "", "", ""});
    files_.SetMark(files_.RowCount() - 1, marked);
  }
  fileset::Preview PreviewOf(fileset::Prepared<FileOperation> prepared) {
    return PreviewFileOperation(files_, host_, *std::get<1>(prepared));
  }

  platform::testing::TempFolder temp_;
  fileset::FileList files_;
  platform::testing::RecordingHost host_;
};

// The preview changes nothing and says what the run then does, clash by clash.
TEST_F(FileOperationPreview, RenamesAsTheRunWouldMakeThem) {
  temp_.Write("a.txt");
  List("a.md");   // a.txt is there already
  List("b.dat");  // becomes b.txt
  List("b.md");   // b.txt is taken by the row before
  List("c.txt");  // stays
  List("c.txt");  // the same file again
  const std::set<std::string> before = Names(temp_.Path());
  const fileset::Preview preview = PreviewOf(PrepareChangeExtension({"txt"}));
  EXPECT_EQ(Names(temp_.Path()), before);

  struct Expected {
    PreviewStatus status;
    const char* after;
    std::string_view reason;
  } const expected[] = {
      {PreviewStatus::Skip, "a.txt", fileset::kTargetExists}, {PreviewStatus::Change, "b.txt", ""},
      {PreviewStatus::Skip, "b.txt", fileset::kSameNewName},  {PreviewStatus::Same, "c.txt", ""},
      {PreviewStatus::Skip, "c.txt", fileset::kRepeatedFile},
  };
  ASSERT_EQ(preview.rows.size(), std::size(expected));
  for (std::size_t i = 0; i < preview.rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(preview.rows[i].status, expected[i].status);
    EXPECT_EQ(preview.rows[i].after, temp_.Path(expected[i].after));
    EXPECT_EQ(preview.rows[i].reason, expected[i].reason);
  }
  EXPECT_EQ(fileset::PreviewSummary(preview), "1 更改, 1 不变, 3 跳过");

  // The run then changes exactly the rows shown as changing.
  RunChangeExtension(files_, {"txt"}, host_);
  EXPECT_EQ(host_.Count(platform::Counter::Change), 1);
  EXPECT_EQ(Names(temp_.Path()),
            (std::set<std::string>{"a.md", "a.txt", "b.md", "b.txt", "c.txt"}));
}

TEST_F(FileOperationPreview, AttributesBeforeAndAfter) {
  List("a.txt");
  List("missing.txt");
  std::filesystem::remove(temp_.Path("missing.txt"));
  ChangeAttributesSettings settings;
  settings.readOnly = true;
  const fileset::Preview preview = PreviewOf(PrepareChangeAttributes(settings));
  ASSERT_EQ(preview.rows.size(), 2u);
  EXPECT_EQ(preview.rows[0].status, PreviewStatus::Change);
  EXPECT_EQ(preview.rows[0].after, "---A -> R--A");
  EXPECT_EQ(preview.rows[1].status, PreviewStatus::Skip);
  EXPECT_EQ(preview.rows[1].reason, fileset::kCannotRead);
  EXPECT_EQ(temp_.Read("a.txt"), "x");
  EXPECT_EQ(std::filesystem::status(temp_.Path("a.txt")).permissions() &
                std::filesystem::perms::owner_write,
            std::filesystem::perms::owner_write);
}

// With the folder box, each row's folder follows it, once, as the run changes it once.
TEST_F(FileOperationPreview, FoldersFollowTheirFirstRow) {
  List("a.txt");
  std::filesystem::create_directory(temp_.Path("sub"));
  temp_.Write("sub/c.txt", "x");
  files_.AppendFileRow({"c.txt", temp_.Path("sub"), "1", "", "", ""});
  files_.SetMark(files_.RowCount() - 1, true);
  List("b.txt");
  ChangeAttributesSettings settings;
  settings.hidden = true;
  settings.folders = true;
  const fileset::Preview preview = PreviewOf(PrepareChangeAttributes(settings));
  std::vector<std::string> shown;
  for (const fileset::PreviewRow& row : preview.rows) shown.push_back(row.before + " " + row.after);
  EXPECT_EQ(shown,
            (std::vector<std::string>{
                temp_.Path("a.txt") + " ---A -> -H-A", temp_.Path() + " ---- -> -H-A",
                temp_.Path("sub/c.txt") + " ---A -> -H-A", temp_.Path("sub") + " ---- -> -H-A",
                temp_.Path("b.txt") + " ---A -> -H-A"}));
}

}  // namespace
}  // namespace fileops
