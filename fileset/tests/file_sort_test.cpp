#include "fileset/file_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <numeric>
#include <random>

namespace fileset {
namespace {

struct Item {
  const char* name;
  const char* folder;
  const char* size;
};

FileList MakeList(std::initializer_list<Item> items) {
  FileList files;
  for (const Item& item : items)
    files.AppendFileRow({item.name, item.folder, item.size, "2020-01-01 00:00:00",
                         "2021-01-01 00:00:00", std::string(ExtensionOf(item.name))});
  return files;
}

std::vector<std::string> Names(const FileList& files) {
  std::vector<std::string> names;
  for (int row = 1; row < files.RowCount(); ++row) names.push_back(files.Cell(row, kNameColumn));
  return names;
}

using Names_ = std::vector<std::string>;

class FileSort : public ::testing::Test {
 protected:
  platform::Collator collator_{"en_US"};
};

TEST_F(FileSort, ByNameIgnoresLetterCaseBothWays) {
  FileList files = MakeList({{"b.txt", "/x", "1"}, {"A.txt", "/x", "2"}, {"c.txt", "/x", "3"}});
  SortFileList(files, kNameColumn, true, collator_);
  EXPECT_EQ(Names(files), (Names_{"A.txt", "b.txt", "c.txt"}));
  SortFileList(files, kNameColumn, false, collator_);
  EXPECT_EQ(Names(files), (Names_{"c.txt", "b.txt", "A.txt"}));
}

TEST_F(FileSort, EqualCellsAreOrderedByTheRowNumberReadAsText) {
  // Twelve equal names: rows 10, 11, 12 come before row 2 because "1" sorts before "2".
  FileList files;
  for (int row = 1; row <= 12; ++row)
    files.AppendFileRow({"same", "/x", std::to_string(row), "", "", ""});
  SortFileList(files, kNameColumn, true, collator_);
  std::vector<std::string> sizes;
  for (int row = 1; row < files.RowCount(); ++row) sizes.push_back(files.Cell(row, kSizeColumn));
  EXPECT_EQ(sizes, (Names_{"1", "10", "11", "12", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TEST_F(FileSort, FolderAndTypeSortByTheFileNameWithin) {
  FileList files = MakeList(
      {{"z.txt", "/b", "1"}, {"y.txt", "/a", "1"}, {"x.ini", "/b", "1"}, {"w.txt", "/a", "1"}});
  SortFileList(files, kFolderColumn, true, collator_);
  EXPECT_EQ(Names(files), (Names_{"w.txt", "y.txt", "x.ini", "z.txt"}));
  SortFileList(files, kTypeColumn, true, collator_);
  EXPECT_EQ(Names(files), (Names_{"x.ini", "w.txt", "y.txt", "z.txt"}));
}

TEST_F(FileSort, SizeComparesWholeSixtyFourBitSizesAndKeepsTies) {
  FileList files = MakeList({{"big", "/x", "5368709120"},
                             {"hundred-one", "/x", "101"},
                             {"tie-first", "/x", "100"},
                             {"tie-second", "/x", "100"},
                             {"zero", "/x", "0"}});
  SortFileList(files, kSizeColumn, true, collator_);
  EXPECT_EQ(Names(files), (Names_{"zero", "tie-first", "tie-second", "hundred-one", "big"}));
  SortFileList(files, kSizeColumn, false, collator_);
  EXPECT_EQ(Names(files), (Names_{"big", "hundred-one", "tie-first", "tie-second", "zero"}));
}

TEST_F(FileSort, RowsMoveWholeAndMarksStayAtTheirPositions) {
  FileList files = MakeList({{"b", "/1", "10"}, {"a", "/2", "20"}});
  files.SetMark(1, true);
  SortFileList(files, kNameColumn, true, collator_);
  EXPECT_EQ(files.Row(1),
            (FileRow{"a", "/2", "20", "2020-01-01 00:00:00", "2021-01-01 00:00:00", ""}));
  EXPECT_TRUE(files.IsMarked(1));
  EXPECT_FALSE(files.IsMarked(2));
}

TEST_F(FileSort, TheEmptyListStaysAsItIs) {
  FileList files;
  files.SetCell(0, kNameColumn, "header");
  SortFileList(files, kSizeColumn, true, collator_);
  SortFileList(files, kNameColumn, false, collator_);
  EXPECT_EQ(files.RowCount(), 2);
  EXPECT_TRUE(files.IsEmpty());
  EXPECT_EQ(files.Cell(0, kNameColumn), "header");
}

TEST_F(FileSort, AFolderPrefixSharedByAllRowsDoesNotChangeTheOrder) {
  // Every key compared whole, as the rule says: subfolders mix with files by name, and
  // punctuation sorts by its own weight.
  const char* const folders[] = {"/root/a",   "/root/a/b", "/root/a b",
                                 "/root/a-b", "/root/A",   "/root/ab"};
  const char* const names[] = {"zeta.txt", "c.txt", "B.txt", "_x.txt"};
  FileList files;
  for (const char* folder : folders)
    for (const char* name : names) files.AppendFileRow({name, folder, "1", "", "", ".txt"});
  std::vector<int> expected(files.RowCount() - 1);
  std::iota(expected.begin(), expected.end(), 1);
  auto text = [&](int row) {
    std::string key = files.Cell(row, kFolderColumn) + "/" + files.Cell(row, kNameColumn) + "." +
                      std::to_string(row);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
  };
  std::sort(expected.begin(), expected.end(),
            [&](int a, int b) { return collator_.Compare(text(a), text(b)) < 0; });
  Names_ wanted;
  for (int row : expected)
    wanted.push_back(files.Cell(row, kFolderColumn) + "/" + files.Cell(row, kNameColumn));
  SortFileList(files, kFolderColumn, true, collator_);
  Names_ sorted;
  for (int row = 1; row < files.RowCount(); ++row)
    sorted.push_back(files.Cell(row, kFolderColumn) + "/" + files.Cell(row, kNameColumn));
  EXPECT_EQ(sorted, wanted);
}

TEST_F(FileSort, ALargeListSortsTheSameWhateverHalfARowLandsIn) {
  // Enough rows that the keys are made in two halves at once; fixed-width numbers sort
  // as numbers, so the expected order is known.
  constexpr int kRows = 30000;
  std::vector<int> numbers(kRows);
  std::iota(numbers.begin(), numbers.end(), 0);
  std::mt19937 random(7);
  std::shuffle(numbers.begin(), numbers.end(), random);
  FileList files;
  char name[16], folder[32];
  for (int number : numbers) {
    std::snprintf(name, sizeof name, "f%05d.txt", number);
    std::snprintf(folder, sizeof folder, "/base/sub%02d", number % 7);
    files.AppendFileRow({name, folder, std::to_string(number), "", "", ".txt"});
  }
  SortFileList(files, kNameColumn, false, collator_);
  for (int row = 1; row < files.RowCount(); ++row)
    ASSERT_EQ(files.Cell(row, kSizeColumn), std::to_string(kRows - row)) << row;
  SortFileList(files, kFolderColumn, true, collator_);
  int row = 1;
  for (int sub = 0; sub < 7; ++sub)
    for (int number = sub; number < kRows; number += 7, ++row)
      ASSERT_EQ(files.Cell(row, kSizeColumn), std::to_string(number)) << row;
}

TEST_F(FileSort, ChineseNamesSortByTheCollatorOfTheLocale) {
  platform::Collator chinese("zh_CN");
  // 阿 (a), 波 (bo), 中 (zhong) in pinyin order, given in GB18030.
  FileList files =
      MakeList({{"\xD6\xD0", "/x", "1"}, {"\xB2\xA8", "/x", "1"}, {"\xB0\xA2", "/x", "1"}});
  SortFileList(files, kNameColumn, true, chinese);
  EXPECT_EQ(Names(files), (Names_{"\xB0\xA2", "\xB2\xA8", "\xD6\xD0"}));
}

}  // namespace
}  // namespace fileset
