#include "content/extract_lines.h"

#include <gtest/gtest.h>

#include "content/tests/marked_files.h"
#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace content {
namespace {

using By = ExtractLinesSettings::By;
using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

Texts Extract(std::string_view bytes, const ExtractLinesSettings& settings) {
  const LineList source = LineList::FromBytes(bytes);
  CollectedLines out;
  ExtractLines(source, PlanExtractLines(settings), out);
  return out.lines;
}

TEST(ExtractLines, ByNumbersInTypedOrder) {
  const std::string six = "1\n2\n3\n4\n5\n6\n";
  struct Case {
    const char* typed;
    Texts taken;
  } const cases[] = {
      {"3,5-8", {"3", "5", "6"}},
      {"8-5", {"5", "6"}},
      {"5,2", {"5", "2"}},
      {"2,2", {"2", "2"}},
      {"4-6,5", {"4", "5", "6", "5"}},
      {"0", {}},
      {"3--1", {"1", "2", "3"}},  // split at the first "-": -1 to 3
      {"", {}},
      {" 1 \"6\" ", {"1", "6"}},  // a blank separates as a comma does
      {"7-9", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ExtractLinesSettings s;
    s.lineNumbers = c.typed;
    s.blankLines = false;  // plays no part when choosing by numbers
    EXPECT_EQ(Extract(six, s), c.taken);
  }
  ExtractLinesSettings s;
  s.lineNumbers = "2,1";
  EXPECT_EQ(Extract("a\n\nc\n", s), (Texts{"", "a"}));
}

TEST(ExtractLines, ByIntervalAndKeywords) {
  // Line 2 is empty and line 4 blank; line 5 holds 中文, line 6 a character whose trail
  // byte is "A".
  const std::string text = "1 a\n\n3 b;c\n \t\n5 \xD6\xD0\xCE\xC4\n6 \x81\x41\n7 a b\n";
  struct Case {
    const char* name;
    By by;
    const char* groupSize;
    const char* position;
    const char* keywords;
    bool blankLines;
    Texts taken;
  } const cases[] = {
      {"every second from the first",
       By::Interval,
       "2",
       "1",
       "",
       true,
       {"1 a", "3 b;c", "5 \xD6\xD0\xCE\xC4", "7 a b"}},
      {"every second, the second", By::Interval, "2", "2", "", true, {"", " \t", "6 \x81\x41"}},
      {"blank lines still count", By::Interval, "2", "2", "", false, {"6 \x81\x41"}},
      {"M past N becomes 0", By::Interval, "3", "5", "", true, {"3 b;c", "6 \x81\x41"}},
      {"M below 1 becomes 1", By::Interval, "5", "0", "", true, {"1 a", "6 \x81\x41"}},
      {"N = 1 takes every line",
       By::Interval,
       "1",
       "9",
       "",
       false,
       {"1 a", "3 b;c", "5 \xD6\xD0\xCE\xC4", "6 \x81\x41", "7 a b"}},
      {"two keywords, a line once", By::Keywords, "2", "1", "a;b", true, {"1 a", "3 b;c", "7 a b"}},
      {"letter case counts", By::Keywords, "2", "1", "B", true, {}},
      {"a keyword inside a character", By::Keywords, "2", "1", "A", true, {"6 \x81\x41"}},
      {"a double-byte keyword", By::Keywords, "2", "1", "\xCE\xC4", true, {"5 \xD6\xD0\xCE\xC4"}},
      {"a quoted keyword with a blank", By::Keywords, "2", "1", "^a b^", true, {"7 a b"}},
      {"blank keyword lines only when asked", By::Keywords, "2", "1", "^\t^", true, {" \t"}},
      {"blank keyword lines left out", By::Keywords, "2", "1", "^\t^", false, {}},
      {"only separators: no keyword", By::Keywords, "2", "1", " ; ", true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExtractLinesSettings s;
    s.by = c.by;
    s.groupSize = c.groupSize;
    s.position = c.position;
    s.keywords = c.keywords;
    s.blankLines = c.blankLines;
    EXPECT_EQ(Extract(text, s), c.taken);
  }
}

TEST(ExtractLines, KeywordLinesUnderEveryLineBreakUpToAZeroByte) {
  ExtractLinesSettings s;
  s.by = By::Keywords;
  s.keywords = "ab;d;^b\r\nc^";
  constexpr char kText[] = "ab\r\ncd\rxy\rab d\n\nab\0ab\n";
  const std::string text(kText, sizeof kText - 1);
  EXPECT_EQ(Extract(text, s), (Texts{"ab", "cd", "ab d", "ab"}));
  EXPECT_EQ(Extract("d\nab", s), (Texts{"d", "ab"}));
}

using ExtractLinesRun = testing::MarkedFilesRun;

TEST_F(ExtractLinesRun, SavesTheChosenLinesAndRefusesBadInputFirst) {
  struct Case {
    const char* name;
    By by;
    const char* lineNumbers;
    const char* groupSize;
    const char* keywords;
    const char* box;  // nullptr: a CommandError with `error`
    const char* error;
    const char* focus;
  } const cases[] = {
      {"keywords empty", By::Keywords, "x", "x", "", "[error] 提取关键字为空,请输入后再试!",
       nullptr, "edtGetKeys"},
      {"a line list read in the interval mode", By::Interval, "5-", "2", "", nullptr,
       "'' is not a valid integer value", ""},
      {"N read in the keyword mode", By::Keywords, "1", "two", "k", nullptr,
       "'two' is not a valid integer value", ""},
      {"interval N = 0", By::Interval, "1", "0", "", "[error] 间隔行数必须大于0,请重新输入!",
       nullptr, "edtGetLines"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExtractLinesSettings s;
    s.by = c.by;
    s.lineNumbers = c.lineNumbers;
    s.groupSize = c.groupSize;
    s.keywords = c.keywords;
    ExpectRefused([&] { return RunExtractLines(files_, s, host_); }, c.box, c.error, c.focus);
  }
  host_.boxes.clear();
  ExtractLinesSettings s;
  s.lineNumbers = "3,1";
  RunExtractLines(files_, s, host_);
  EXPECT_EQ(temp_.Read("a.txt"), "3\r\n1\r\n");
  EXPECT_EQ(temp_.Read("b.txt.bak"), "1\n2\n3\n");
  s.lineNumbers = "9";  // no line chosen: the file becomes empty
  s.backup = false;
  RunExtractLines(files_, s, host_);
  EXPECT_EQ(temp_.Read("b.txt"), "");
  EXPECT_EQ(temp_.Read("b.txt.bak"), "1\n2\n3\n");
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理完成,共处理 2 个文件!",
                                "[info] 成功处理完成,共处理 2 个文件!"}));
}

}  // namespace
}  // namespace content
