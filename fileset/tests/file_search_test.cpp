#include "fileset/file_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/file_time.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace fileset {
namespace {

using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

// The window's side of a search, recorded; filters may be changed between levels.
class FakeControls : public SearchControls {
 public:
  SearchFilters filters;
  std::string minText = "0", maxText = "50000";
  bool stop = false;
  int stopAfterReads = -1;  // request a stop once this many levels have started
  Texts searching;          // every SetSearching call

  SearchFilters ReadFilters() override {
    if (stopAfterReads >= 0 && reads_++ >= stopAfterReads) stop = true;
    SearchFilters result = filters;
    result.minSize = ParseSizeBound(minText);
    result.maxSize = ParseSizeBound(maxText);
    return result;
  }
  bool StopRequested() override { return stop; }
  void SetSearching(bool on) override { searching.push_back(on ? "on" : "off"); }

 private:
  int reads_ = 0;
};

class FileSearch : public ::testing::Test {
 protected:
  Texts Search(const std::string& folders, const std::string& patterns) {
    RunSearch(files_, platform::Utf8ToEngine(folders), platform::Utf8ToEngine(patterns), controls_,
              host_);
    Texts rows;
    for (int row = 1; row < files_.RowCount(); ++row) {
      if (files_.Cell(row, kNameColumn).empty()) continue;
      std::string folder = platform::EngineToUtf8(files_.Cell(row, kFolderColumn));
      if (folder.rfind(temp_.Path(), 0) == 0) folder = "~" + folder.substr(temp_.Path().size());
      rows.push_back(folder + "|" + platform::EngineToUtf8(files_.Cell(row, kNameColumn)));
    }
    return rows;
  }
  void SetTimes(const std::string& relative, std::time_t modified) {
    const timeval times[2] = {{modified, 0}, {modified, 0}};
    ASSERT_EQ(utimes(temp_.Path(relative).c_str(), times), 0);
  }

  TempFolder temp_;
  FileList files_;
  FakeControls controls_;
  RecordingHost host_;
};

TEST_F(FileSearch, WalksDepthFirstInNameOrderWithFilesBeforeSubfolders) {
  temp_.Write("b.txt");
  temp_.Write("A.TXT");
  temp_.Write("c.ini");
  temp_.Write("sub2/x.txt");
  temp_.Write("Sub1/deep/y.txt");
  temp_.Write("Sub1/z.txt");
  temp_.Write("sub2/.hidden.txt");
  EXPECT_EQ(Search(temp_.Path(), "*.txt"),
            (Texts{"~|A.TXT", "~|b.txt", "~/Sub1|z.txt", "~/Sub1/deep|y.txt", "~/sub2|.hidden.txt",
                   "~/sub2|x.txt"}));
  EXPECT_EQ(host_.Count(platform::Counter::Search), 6);
  EXPECT_EQ(controls_.searching, (Texts{"on", "off"}));
  EXPECT_GT(host_.messageRuns, 6);
}

TEST_F(FileSearch, PatternsOuterFoldersInnerAndDuplicatesKept) {
  temp_.Write("A/a.txt");
  temp_.Write("A/a.ini");
  temp_.Write("B/b.txt");
  temp_.Write("B/b.ini");
  const std::string folders = temp_.Path("A") + "; " + temp_.Path("B") + ";";
  EXPECT_EQ(Search(folders, "*.txt;*.ini;a.*"),
            (Texts{"~/A|a.txt", "~/B|b.txt", "~/A|a.ini", "~/B|b.ini", "~/A|a.ini", "~/A|a.txt"}));
}

TEST_F(FileSearch, TrailingSemicolonAndMissingFoldersAddNothing) {
  temp_.Write("a.txt");
  EXPECT_EQ(Search(temp_.Path() + ";" + temp_.Path("missing"), "*.txt;"), (Texts{"~|a.txt"}));
  EXPECT_EQ(host_.Count(platform::Counter::Search), 1);
}

TEST_F(FileSearch, SubfoldersOnlyWhenAsked) {
  temp_.Write("top.txt");
  temp_.Write("sub/inner.txt");
  controls_.filters.subfolders = false;
  EXPECT_EQ(Search(temp_.Path(), "*.txt"), (Texts{"~|top.txt"}));
}

TEST_F(FileSearch, SizeBoundsAreInclusiveAndSixtyFourBit) {
  temp_.Write("exact.txt", std::string(50000, 'x'));
  temp_.Write("over.txt", std::string(50001, 'x'));
  temp_.Write("empty.txt");
  ASSERT_EQ(truncate(temp_.Write("huge.txt").c_str(), 5LL << 30), 0);
  controls_.filters.bySize = true;
  EXPECT_EQ(Search(temp_.Path(), "*.txt"), (Texts{"~|empty.txt", "~|exact.txt"}));
  controls_.minText = "5368709120";
  controls_.maxText = "1e12";
  EXPECT_EQ(Search(temp_.Path(), "*.txt"), (Texts{"~|huge.txt"}));
  EXPECT_EQ(files_.Cell(1, kSizeColumn), "5368709120");
}

TEST_F(FileSearch, DateFilterComparesLocalDaysOfTheChosenTime) {
  setenv("TZ", "Asia/Shanghai", 1);
  tzset();
  temp_.Write("old.txt");
  temp_.Write("late.txt");
  temp_.Write("early.txt");
  SetTimes("old.txt", 1577807999);    // 2019-12-31 23:59:59 +08
  SetTimes("late.txt", 1577894399);   // 2020-01-01 23:59:59 +08
  SetTimes("early.txt", 1577808000);  // 2020-01-01 00:00:00 +08
  controls_.filters.byDate = true;
  controls_.filters.dateKind = DateKind::LastWrite;
  controls_.filters.minDay = controls_.filters.maxDay = platform::DayNumber(2020, 1, 1);
  EXPECT_EQ(Search(temp_.Path(), "*.txt"), (Texts{"~|early.txt", "~|late.txt"}));
  EXPECT_EQ(files_.Cell(1, kModifiedColumn), "2020-01-01 00:00:00");
  controls_.filters.dateKind = DateKind::LastAccess;
  EXPECT_EQ(Search(temp_.Path(), "*.txt"), (Texts{"~|early.txt", "~|late.txt"}));
}

TEST_F(FileSearch, AttributeMasksDecideWhatIsListedAndEntered) {
  temp_.Write("plain.txt");
  temp_.Write("temporary.txt");
  ASSERT_EQ(setxattr(temp_.Path("temporary.txt").c_str(), "user.DOSATTRIB", "0x120", 5, 0), 0);
  temp_.Write("readonly.txt");
  chmod(temp_.Path("readonly.txt").c_str(), 0444);
  temp_.Write("archived/in.txt");
  ASSERT_EQ(setxattr(temp_.Path("archived").c_str(), "user.DOSATTRIB", "0x30", 4, 0), 0);
  temp_.Write("hidden/in.txt");
  ASSERT_EQ(setxattr(temp_.Path("hidden").c_str(), "user.DOSATTRIB", "0x12", 4, 0), 0);
  temp_.Write("real/in.txt");
  ASSERT_EQ(symlink(temp_.Path("real").c_str(), temp_.Path("link").c_str()), 0);
  ASSERT_EQ(symlink(temp_.Path("plain.txt").c_str(), temp_.Path("link.txt").c_str()), 0);
  temp_.MakeFolder("folder.txt");
  EXPECT_EQ(Search(temp_.Path(), "*.txt"),
            (Texts{"~|plain.txt", "~|readonly.txt", "~/hidden|in.txt", "~/real|in.txt"}));
}

TEST_F(FileSearch, EmptyPatternIsRefusedAndNothingChanges) {
  files_.AppendFileRow({"kept", "/x", "1", "", "", ""});
  host_.WriteCounter(platform::Counter::Search, 1);
  EXPECT_EQ(Search(temp_.Path(), "  "), (Texts{"/x|kept"}));
  EXPECT_EQ(host_.boxes, (Texts{"[error] 文件类型为空,请设置好后再试！"}));
  EXPECT_TRUE(controls_.searching.empty());
  EXPECT_EQ(host_.Count(platform::Counter::Search), 1);
}

TEST_F(FileSearch, BadSizeBoundEndsTheSearchAndRestoresTheButtons) {
  temp_.Write("a.txt");
  files_.AppendFileRow({"old", "/x", "1", "", "", ""});
  controls_.minText = "";  // the filter need not be ticked: the bounds are read anyway
  try {
    Search(temp_.Path(), "*.txt");
    FAIL() << "no error";
  } catch (const platform::CommandError& error) {
    EXPECT_STREQ(error.what(), "'' is not a valid floating point value");
  }
  EXPECT_TRUE(files_.IsEmpty());
  EXPECT_EQ(controls_.searching, (Texts{"on", "off"}));
}

TEST_F(FileSearch, StopEndsEveryLevelAndKeepsWhatWasFound) {
  temp_.Write("a.txt");
  temp_.Write("b/b.txt");
  temp_.Write("c/c.txt");
  controls_.stopAfterReads = 2;  // the root and "b" start, then stop is pressed
  EXPECT_EQ(Search(temp_.Path() + ";" + temp_.Path(), "*.txt"), (Texts{"~|a.txt", "~/b|b.txt"}));
  EXPECT_EQ(host_.Count(platform::Counter::Search), 2);
}

TEST_F(FileSearch, RowsCarryTheFolderAsWrittenAndTheExtension) {
  temp_.Write("中文/报告.Txt", "12345");
  EXPECT_EQ(Search(temp_.Path() + "/", "*.txt"), (Texts{"~//中文|报告.Txt"}));
  EXPECT_EQ(files_.Cell(1, kSizeColumn), "5");
  EXPECT_EQ(files_.Cell(1, kTypeColumn), ".Txt");
  EXPECT_EQ(files_.Cell(1, kCreatedColumn).size(), 19u);
}

TEST(SearchSplitting, FoldersAreTrimmedAndAnEmptyLastPieceDropped) {
  struct Case {
    const char* text;
    Texts folders;
  } const cases[] = {
      {"", {""}},  {"  /a  ", {"/a"}}, {"/a; /b", {"/a", "/b"}}, {"/a;;/b;", {"/a", "", "/b"}},
      {";", {""}}, {" ; ", {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SplitSearchFolders(c.text), c.folders);
  }
}

TEST(SearchSplitting, PatternsKeepTheirBlanksAndTheLastPiece) {
  EXPECT_EQ(SplitSearchPatterns("*.txt;*.ini"), (Texts{"*.txt", "*.ini"}));
  EXPECT_EQ(SplitSearchPatterns("*.txt; *.ini"), (Texts{"*.txt", " *.ini"}));
  EXPECT_EQ(SplitSearchPatterns("*.txt;"), (Texts{"*.txt", ""}));
  EXPECT_EQ(SplitSearchPatterns("a;;b"), (Texts{"a", "", "b"}));
}

TEST(SearchSplitting, SizeBoundsReadAsDecimalNumbersTruncated) {
  EXPECT_EQ(ParseSizeBound("50000"), 50000);
  EXPECT_EQ(ParseSizeBound(" 12.9 "), 12);
  EXPECT_EQ(ParseSizeBound("-3.7"), -3);
  EXPECT_EQ(ParseSizeBound("+7"), 7);
  EXPECT_EQ(ParseSizeBound("1e3"), 1000);
  EXPECT_EQ(ParseSizeBound("1e30"), INT64_MAX);
  for (const char* bad : {"", "abc", "12abc", "0x10", "inf", "nan", "1,000"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(ParseSizeBound(bad), platform::CommandError);
  }
}

}  // namespace
}  // namespace fileset
