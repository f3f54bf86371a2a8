#include "fileset/file_list.h"

#include <gtest/gtest.h>

#include "fileset/list_marks.h"
#include "fileset/run_precondition.h"
#include "platform/testing/recording_host.h"

namespace fileset {
namespace {

FileRow Row(const std::string& name) {
  return {name, "/d", "1", "", "", std::string(ExtensionOf(name))};
}

TEST(FileList, StartsAsTheEmptyListAndFillsRowOneFirst) {
  FileList files;
  EXPECT_EQ(files.RowCount(), 2);
  EXPECT_TRUE(files.IsEmpty());
  EXPECT_EQ(files.FileRowCount(), 0);
  files.AppendFileRow(Row("a.txt"));
  files.AppendFileRow(Row("b.txt"));
  EXPECT_EQ(files.RowCount(), 3);
  EXPECT_EQ(files.Cell(1, kNameColumn), "a.txt");
  EXPECT_EQ(files.Cell(2, kNameColumn), "b.txt");
  EXPECT_EQ(files.FullPath(2), "/d/b.txt");
  files.Reset();
  EXPECT_EQ(files.RowCount(), 2);
  EXPECT_TRUE(files.IsEmpty());
  EXPECT_EQ(files.Cell(1, kFolderColumn), "");
}

TEST(FileList, MarksBelongToPositionsThroughRemovalResetAndGrowth) {
  FileList files;
  for (const char* name : {"1", "2", "3", "4", "5"}) files.AppendFileRow(Row(name));
  files.SetMark(2, true);
  files.SetMark(4, true);
  // Removing the marked rows from the bottom up, as the remove command does.
  for (int row = files.RowCount() - 1; row >= 1; --row)
    if (files.IsMarked(row)) files.RemoveRow(row);
  ASSERT_EQ(files.RowCount(), 4);
  EXPECT_EQ(files.Cell(1, kNameColumn), "1");
  EXPECT_EQ(files.Cell(2, kNameColumn), "3");
  EXPECT_EQ(files.Cell(3, kNameColumn), "5");
  EXPECT_TRUE(files.IsMarked(2));  // "3" moved into a marked position
  EXPECT_FALSE(files.IsMarked(3));
  EXPECT_TRUE(files.IsMarked(4));  // beyond the last row, kept
  files.AppendFileRow(Row("6"));   // grows back over position 4
  EXPECT_TRUE(files.IsMarked(4));
  files.Reset();
  EXPECT_TRUE(files.IsMarked(2));
}

TEST(FileList, MarksGrowWithoutLimitAndTheHeaderIsNeverMarked) {
  FileList files;
  files.SetMark(0, true);
  EXPECT_FALSE(files.IsMarked(0));
  files.SetMark(600000, true);
  EXPECT_TRUE(files.IsMarked(600000));
  EXPECT_FALSE(files.IsMarked(599999));
  EXPECT_FALSE(files.IsMarked(700000));
  files.FlipMark(600000);
  EXPECT_FALSE(files.IsMarked(600000));
}

TEST(FileList, RemovingTheLastDataRowLeavesAnEmptyListWithItsHeader) {
  FileList files;
  files.SetCell(0, kNameColumn, "header");
  files.AppendFileRow(Row("a"));
  files.RemoveRow(1);
  EXPECT_EQ(files.RowCount(), 2);
  EXPECT_TRUE(files.IsEmpty());
  EXPECT_EQ(files.Cell(0, kNameColumn), "header");
}

TEST(FileList, FindFirstTwoMarked) {
  FileList files;
  for (int i = 0; i < 8; ++i) files.AppendFileRow(Row("f" + std::to_string(i)));
  files.SetMark(2, true);
  files.SetMark(5, true);
  files.SetMark(7, true);
  auto two = files.FindFirstTwoMarked();
  EXPECT_TRUE(two.found);
  EXPECT_EQ(two.first, 2);
  EXPECT_EQ(two.second, 5);

  FileList one;
  for (int i = 0; i < 5; ++i) one.AppendFileRow(Row("f" + std::to_string(i)));
  one.SetMark(4, true);
  two = one.FindFirstTwoMarked();
  EXPECT_FALSE(two.found);
  EXPECT_EQ(two.first, 4);
}

// A row keeps the bytes of a folder or name that is not the UTF-8 of its cell, through
// sorting and removal, until a new cell (a rename) names the file by its UTF-8.
TEST(FileList, KeepsTheBytesOfNamesThatAreNotUtf8) {
  FileList files;
  files.AppendFileRow({"b.txt", "/d", "", "", "", ""});
  files.AppendFileRow({"\xD6\xD0.txt", "/\xCE\xC4", "", "", "", ""},
                      {"/\xCE\xC4", "\xD6\xD0.txt"});           // 中.txt in 文, all GBK
  files.AppendFileRow({"\xD6\xD0.txt", "/d", "", "", "", ""});  // 中.txt in UTF-8
  EXPECT_EQ(files.NativeFullPath(1).bytes(), "/d/b.txt");
  EXPECT_EQ(files.NativeFullPath(2).bytes(), "/\xCE\xC4/\xD6\xD0.txt");
  EXPECT_EQ(files.NativeFullPath(3).bytes(), "/d/\xE4\xB8\xAD.txt");
  files.Reorder({3, 2, 1});
  EXPECT_EQ(files.NativeFullPath(2).bytes(), "/\xCE\xC4/\xD6\xD0.txt");
  files.RemoveRow(1);
  EXPECT_EQ(files.NativeFullPath(1).bytes(), "/\xCE\xC4/\xD6\xD0.txt");
  files.SetCell(1, kNameColumn, "\xD6\xD0_r.txt");
  EXPECT_EQ(files.NativeFullPath(1).bytes(), "/\xCE\xC4/\xE4\xB8\xAD_r.txt");
  EXPECT_EQ(files.FullPath(1), "/\xCE\xC4/\xD6\xD0_r.txt");
  EXPECT_EQ(KeptBytes("\xD6\xD0", "\xE4\xB8\xAD"), std::nullopt);
  EXPECT_EQ(KeptBytes("\xD6\xD0", "\xD6\xD0"), "\xD6\xD0");
}

TEST(FileList, BaseNameAndExtension) {
  struct Case {
    const char* name;
    const char* base;
    const char* extension;
  } const cases[] = {
      {"a.txt", "a", ".txt"},         {"archive.tar.gz", "archive.tar", ".gz"},
      {"README", "README", ""},       {".bashrc", "", ".bashrc"},
      {"trailing.", "trailing", "."}, {"\xD6\xD0.txt", "\xD6\xD0", ".txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BaseNameOf(c.name), c.base);
    EXPECT_EQ(ExtensionOf(c.name), c.extension);
  }
}

TEST(FileList, MarkAllNoneAndInvertTouchDataRowsOnly) {
  FileList files;
  for (int i = 0; i < 10; ++i) files.AppendFileRow(Row("f" + std::to_string(i)));
  files.SetMark(3, true);
  files.SetMark(12, true);
  InvertMarks(files);
  EXPECT_FALSE(files.IsMarked(3));
  EXPECT_TRUE(files.IsMarked(1));
  EXPECT_TRUE(files.IsMarked(10));
  MarkAll(files);
  for (int row = 1; row <= 10; ++row) EXPECT_TRUE(files.IsMarked(row)) << row;
  UnmarkAll(files);
  for (int row = 1; row <= 10; ++row) EXPECT_FALSE(files.IsMarked(row)) << row;
  EXPECT_FALSE(files.IsMarked(0));
  EXPECT_FALSE(files.IsMarked(11));
  EXPECT_TRUE(files.IsMarked(12));  // beyond the last row: untouched
}

TEST(RunPrecondition, RefusesTheEmptyListThenAListWithoutMarks) {
  platform::testing::RecordingHost host;
  FileList files;
  files.SetMark(1, true);  // a mark on the empty row does not make a file
  EXPECT_FALSE(CheckRunPrecondition(files, host));
  files.AppendFileRow(Row("a"));
  files.SetMark(1, false);
  files.SetMark(5, true);  // beyond the last row: not looked at
  EXPECT_FALSE(CheckRunPrecondition(files, host));
  files.SetMark(1, true);
  EXPECT_TRUE(CheckRunPrecondition(files, host));
  EXPECT_EQ(host.boxes, (std::vector<std::string>{"[error] 没有源文件，请搜索后再试！",
                                                  "[error] 请先选择文件！"}));
}

}  // namespace
}  // namespace fileset
