#include "content/delete_lines.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "content/delimited_list.h"
#include "content/tests/marked_files.h"
#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace content {
namespace {

using By = DeleteLinesSettings::By;
using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

// Lines "1" .. "count".
LineList Numbered(int count) {
  std::string bytes;
  for (int i = 1; i <= count; ++i) bytes += std::to_string(i) + "\n";
  return LineList::FromBytes(bytes);
}

Texts Delete(const LineList& source, const DeleteLinesSettings& settings) {
  CollectedLines out;
  DeleteLines(source, PlanDeleteLines(settings), out);
  return out.lines;
}

TEST(DeleteLines, ByLineNumbers) {
  struct Case {
    const char* typed;
    int count;
    Texts kept;
  } const cases[] = {
      {"3,5-8", 10, {"1", "2", "4", "9", "10"}},
      {"8-5", 10, {"1", "2", "3", "4", "9", "10"}},
      {" 3 , 5-8 ", 10, {"1", "2", "4", "9", "10"}},
      {"11", 10, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
      {"0,-3", 3, {"1", "2", "3"}},
      {"", 3, {"1", "2", "3"}},
      {"1", 0, {}},
      {"2-100", 4, {"1"}},
      {"\"3\"", 4, {"1", "2", "4"}},
      // Out of order: 5 goes first, then 2 of what is left.
      {"2,5", 6, {"1", "3", "4", "6"}},
      {"5,2", 6, {"1", "3", "4", "5"}},
      // Later-typed entries first: 1-2 deletes lines 1 and 2, then line 2 of "3 4 5" is 4.
      {"2,1-2", 5, {"3", "5"}},
      // Overlapping: 3-4 first leaves 1 2 5 6, then 2-3 deletes 2 and 5.
      {"2-3,3-4", 6, {"1", "6"}},
      {"1,1,1", 5, {"4", "5"}},
      {"4-6,2", 5, {"1", "3", "4"}},  // 2 goes first; 4-6 then finds only line 4 ("5")
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    DeleteLinesSettings s;
    s.lineNumbers = c.typed;
    EXPECT_EQ(Delete(Numbered(c.count), s), c.kept);
  }
}

TEST(DeleteLines, LongTablesAreNotCutShort) {
  // 2000 entries, typed from the last line down: each works on the shortened list.
  std::string typed;
  for (int n = 3000; n > 1000; --n) typed += std::to_string(n) + ",";
  DeleteLinesSettings s;
  s.lineNumbers = typed;
  // Applied last to first: 1001 goes, then 1002 of the shortened list (originally
  // 1003), ... every second line from 1001 to 4999; the rest stays.
  const Texts kept = Delete(Numbered(5000), s);
  EXPECT_EQ(kept.size(), 3000u);
  EXPECT_EQ(kept[1000], "1002");
  EXPECT_EQ(kept[1001], "1004");
  EXPECT_EQ(kept[2998], "4998");
  EXPECT_EQ(kept[2999], "5000");
  // The same lines, typed in ascending order, are exactly the ones named.
  std::string ascending;
  for (int n = 1001; n <= 3000; ++n) ascending += std::to_string(n) + ",";
  s.lineNumbers = ascending;
  const Texts plain = Delete(Numbered(5000), s);
  EXPECT_EQ(plain.size(), 3000u);
  EXPECT_EQ(plain[999], "1000");
  EXPECT_EQ(plain[1000], "3001");
}

// The keywords are searched for in the whole text and the places found serve the lines
// that follow; whatever the lines and keywords, a line goes exactly when it holds one.
TEST(DeleteLines, KeywordsMatchLineByLineWhereverTheyFall) {
  std::mt19937 random(11);
  const char* pieces[] = {"ab", "a", "b", "\xD6\xD0", "\xD0\xD6", " ", "\r\n", "\n", "\r"};
  const char* keywordSets[] = {"ab", "b;a", "\xD0\xD6;ab", "abab", "\xD6\xD0\xD6", "zz;b"};
  for (int round = 0; round < 400; ++round) {
    std::string bytes;
    for (int i = random() % 60; i > 0; --i) bytes += pieces[random() % std::size(pieces)];
    const char* keywords = keywordSets[round % std::size(keywordSets)];
    SCOPED_TRACE(::testing::PrintToString(bytes) + " keywords " + keywords);
    const LineList source = LineList::FromBytes(bytes);
    const std::vector<std::string> list = SplitDelimitedList(keywords, ';', '^');
    Texts kept;
    for (const std::string_view line : source) {
      bool holds = false;
      for (const std::string& keyword : list) holds = holds || line.find(keyword) != line.npos;
      if (!holds) kept.emplace_back(line);
    }
    DeleteLinesSettings settings;
    settings.by = By::Keywords;
    settings.keywords = keywords;
    ASSERT_EQ(Delete(source, settings), kept);
  }
}

TEST(DeleteLines, OtherWays) {
  const LineList text = LineList::FromBytes(
      "1 a\r\n\r\n  \t\r\n4 b;c\r\n5 \xD6\xD0\xCE\xC4\r\n6 \x81\x41\r\n7 a b\r\n");
  struct Case {
    const char* name;
    By by;
    const char* groupSize;
    const char* position;
    const char* keywords;
    Texts kept;
  } const cases[] = {
      {"every second, the first", By::Interval, "2", "1", "", {"", "4 b;c", "6 \x81\x41"}},
      {"every second, the second",
       By::Interval,
       "2",
       "2",
       "",
       {"1 a", "  \t", "5 \xD6\xD0\xCE\xC4", "7 a b"}},
      {"M beyond N means the last of each group",
       By::Interval,
       "3",
       "9",
       "",
       {"1 a", "", "4 b;c", "5 \xD6\xD0\xCE\xC4", "7 a b"}},
      {"M below 1 counts as 1",
       By::Interval,
       "3",
       "-4",
       "",
       {"", "  \t", "5 \xD6\xD0\xCE\xC4", "6 \x81\x41"}},
      {"N = 1 deletes every line", By::Interval, "1", "1", "", {}},
      {"keywords a;b",
       By::Keywords,
       "2",
       "1",
       "a;b",
       {"", "  \t", "5 \xD6\xD0\xCE\xC4", "6 \x81\x41"}},
      {"quoted keyword with a blank",
       By::Keywords,
       "2",
       "1",
       "^a b^",
       {"1 a", "", "  \t", "4 b;c", "5 \xD6\xD0\xCE\xC4", "6 \x81\x41"}},
      {"keyword holding the delimiter",
       By::Keywords,
       "2",
       "1",
       "^b;c^",
       {"1 a", "", "  \t", "5 \xD6\xD0\xCE\xC4", "6 \x81\x41", "7 a b"}},
      {"empty keywords match nothing",
       By::Keywords,
       "2",
       "1",
       ";;",
       {"1 a", "", "  \t", "4 b;c", "5 \xD6\xD0\xCE\xC4", "6 \x81\x41", "7 a b"}},
      {"double-byte keyword",
       By::Keywords,
       "2",
       "1",
       "\xCE\xC4",
       {"1 a", "", "  \t", "4 b;c", "6 \x81\x41", "7 a b"}},
      // Matching is byte for byte: "A" is the trail byte of 0x81 0x41, and a keyword
      // made of the trail of one character and the lead of the next matches too.
      {"keyword inside a character",
       By::Keywords,
       "2",
       "1",
       "A",
       {"1 a", "", "  \t", "4 b;c", "5 \xD6\xD0\xCE\xC4", "7 a b"}},
      {"keyword across characters",
       By::Keywords,
       "2",
       "1",
       "\xD0\xCE",
       {"1 a", "", "  \t", "4 b;c", "6 \x81\x41", "7 a b"}},
      {"letter case counts",
       By::Keywords,
       "2",
       "1",
       "B",
       {"1 a", "", "  \t", "4 b;c", "5 \xD6\xD0\xCE\xC4", "6 \x81\x41", "7 a b"}},
      {"empty and blank lines",
       By::Empty,
       "2",
       "1",
       "",
       {"1 a", "4 b;c", "5 \xD6\xD0\xCE\xC4", "6 \x81\x41", "7 a b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteLinesSettings s;
    s.by = c.by;
    s.groupSize = c.groupSize;
    s.position = c.position;
    s.keywords = c.keywords;
    EXPECT_EQ(Delete(text, s), c.kept);
  }
}

using DeleteLinesRun = testing::MarkedFilesRun;

TEST_F(DeleteLinesRun, DeletesInEveryMarkedFile) {
  DeleteLinesSettings s;
  s.lineNumbers = "2";
  EXPECT_EQ(RunDeleteLines(files_, s, host_).focus, "");
  EXPECT_EQ(temp_.Read("a.txt"), "1\r\n3\r\n");
  EXPECT_EQ(temp_.Read("b.txt"), "1\r\n3\r\n");
  EXPECT_EQ(temp_.Read("b.txt.bak"), "1\n2\n3\n");
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理完成,共处理 2 个文件!"}));
}

TEST_F(DeleteLinesRun, InputErrorsComeBeforeAnythingIsTouched) {
  struct Case {
    const char* name;
    By by;
    const char* lineNumbers;
    const char* groupSize;
    const char* position;
    const char* keywords;
    const char* box;  // nullptr: the error escapes as a CommandError with `error`
    const char* error;
    const char* focus;
  } const cases[] = {
      {"keywords empty", By::Keywords, "x", "x", "x", "", "[error] 删除关键字为空,请输入后再试!",
       nullptr, "edtDelKeys"},
      {"bad line number in another mode", By::Empty, "5 - 8", "2", "1", "", nullptr,
       "'-' is not a valid integer value", ""},
      {"a leading minus makes one number", By::LineNumbers, "-2-2", "2", "1", "", nullptr,
       "'-2-2' is not a valid integer value", ""},
      {"bad range end", By::LineNumbers, "3,5-x", "2", "1", "", nullptr,
       "'x' is not a valid integer value", ""},
      {"empty group size", By::Keywords, "1", "", "1", "k", nullptr,
       "'' is not a valid integer value", ""},
      {"bad position", By::Interval, "1", "2", "1st", "", nullptr,
       "'1st' is not a valid integer value", ""},
      {"interval N = 0", By::Interval, "1", "0", "1", "", "[error] 间隔行数必须大于0,请重新输入!",
       nullptr, "edtLines"},
      {"interval N negative", By::Interval, "1", "-2", "1", "",
       "[error] 间隔行数必须大于0,请重新输入!", nullptr, "edtLines"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host_.boxes.clear();
    DeleteLinesSettings s{c.by, c.lineNumbers, c.groupSize, c.position, c.keywords, true};
    ExpectRefused([&] { return RunDeleteLines(files_, s, host_); }, c.box, c.error, c.focus);
  }
}

TEST_F(DeleteLinesRun, GroupSizeBelowOneIsAcceptedOutsideTheIntervalMode) {
  DeleteLinesSettings s;
  s.by = By::Empty;
  s.groupSize = "0";
  RunDeleteLines(files_, s, host_);
  EXPECT_EQ(temp_.Read("a.txt"), "1\r\n2\r\n3\r\n");
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理完成,共处理 2 个文件!"}));
}

}  // namespace
}  // namespace content
