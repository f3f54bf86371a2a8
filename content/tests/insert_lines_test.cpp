#include "content/insert_lines.h"

#include <gtest/gtest.h>

#include "content/tests/marked_files.h"
#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace content {
namespace {

using At = InsertLinesSettings::At;
using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

const tmpl::FixedClock kClock({2024, 5, 6, 7, 8, 9, 0});

Texts Place(std::string_view bytes, At at, const char* number, const char* groupSize,
            const char* position, const char* keywords) {
  InsertLinesSettings s;
  s.at = at;
  s.text = "X";
  s.lineNumber = number;
  s.groupSize = groupSize;
  s.position = position;
  s.keywords = keywords;
  InsertLinesPlan plan = PlanInsertLines(s);
  ReadInsertedText(s, plan);
  CollectedLines out;
  InsertLines(LineList::FromBytes(bytes), plan, plan.text, out);
  return out.lines;
}

TEST(InsertLines, PlacesTheText) {
  const std::string three = "a\nb \xD6\xD0\nc\n";
  struct Case {
    const char* name;
    std::string bytes;
    At at;
    const char* number;
    const char* groupSize;
    const char* position;
    const char* keywords;
    Texts lines;
  } const cases[] = {
      {"position 0: first",
       three,
       At::LineNumber,
       "0",
       "2",
       "1",
       "",
       {"X", "a", "b \xD6\xD0", "c"}},
      {"position 3: after the third",
       three,
       At::LineNumber,
       "3",
       "2",
       "1",
       "",
       {"a", "b \xD6\xD0", "c", "X"}},
      {"past the end: appended",
       three,
       At::LineNumber,
       "99",
       "2",
       "1",
       "",
       {"a", "b \xD6\xD0", "c", "X"}},
      {"below 0: first", three, At::LineNumber, "-5", "2", "1", "", {"X", "a", "b \xD6\xD0", "c"}},
      {"an empty file gets the text", "", At::LineNumber, "4", "2", "1", "", {"X"}},
      {"before every second from the first",
       three,
       At::Interval,
       "0",
       "2",
       "1",
       "",
       {"X", "a", "b \xD6\xD0", "X", "c"}},
      {"M = N becomes 0", three, At::Interval, "0", "3", "3", "", {"a", "b \xD6\xD0", "X", "c"}},
      {"an empty file stays empty", "", At::Interval, "0", "2", "1", "", {}},
      {"before keyword lines, once each",
       three,
       At::Keywords,
       "0",
       "2",
       "1",
       "a;b",
       {"X", "a", "X", "b \xD6\xD0", "c"}},
      {"a keyword inside a character",
       three,
       At::Keywords,
       "0",
       "2",
       "1",
       "\xD0",
       {"a", "X", "b \xD6\xD0", "c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Place(c.bytes, c.at, c.number, c.groupSize, c.position, c.keywords), c.lines);
  }
}

TEST(InsertLines, FindsTheFirstLineItemOfEachKind) {
  const auto item = FindLineItem("x${LINESTR(12)} ${linestr(3)}", "${linestr(");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->text, "${LINESTR(12)}");
  EXPECT_EQ(item->argument, "12");
  EXPECT_FALSE(FindLineItem("${LineStr(2)", "${linestr("));  // never closed
  EXPECT_EQ(FindLineItem("${LineStr2(}", "${linestr2(")->argument, "");
  EXPECT_FALSE(FindLineItem("${LineStr2(a)}", "${linestr("));
}

// The text built for a file whose lines are `bytes`.
std::string Built(const InsertLinesSettings& s, std::string_view bytes, RecordingHost& host) {
  InsertLinesPlan plan = PlanInsertLines(s);
  ReadInsertedText(s, plan);
  const FileContext file{1,
                         "/d/\xD6\xD0.txt",
                         "\xD6\xD0.txt",
                         platform::NativePath("/d/x"),
                         "2021-02-03 04:05:06",
                         "2022-12-31 23:59:58"};
  return BuildInsertedText(plan, file, LineList::FromBytes(bytes), kClock, host);
}

TEST(InsertLines, BuildsTheTextPerFile) {
  const std::string lines = "one\ntwo key\nthree key\n";
  struct Case {
    const char* name;
    const char* text;
    const char* format;
    const char* built;
  } const cases[] = {
      {"file variables in any case", "${FILENAME}|${fullname}|${CreateDate}|${modifydate}", "",
       "\xD6\xD0.txt|/d/\xD6\xD0.txt|2021-02-03|2022-12-31"},
      {"escapes in any case", "a\\tb\\Rc\\nd", "", "a\tb\rc\nd"},
      {"line n, every copy in any case", "${LineStr(2)}/${LINESTR(2)}", "", "two key/two key"},
      {"only the first LineStr counts", "${LineStr(1)}+${LineStr(3)}", "", "one+${LineStr(3)}"},
      {"line n past the end stays", "${LineStr(4)}", "", "${LineStr(4)}"},
      {"the first line holding a text", "${LineStr2(key)}", "", "two key"},
      {"no line holds it", "${LineStr2(KEY)}", "", "${LineStr2(KEY)}"},
      {"the format comes before the line items", "<${LineStr(1)}>", "${AddLeft(=)}", "=<one>"},
      {"a random line", "${LineRandStr()}", "", "three key"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingHost host;
    host.picks = {5};  // 5 mod 3: the third line
    InsertLinesSettings s;
    s.text = c.text;
    s.format = c.format;
    EXPECT_EQ(Built(s, lines, host), c.built);
  }
  RecordingHost host;
  InsertLinesSettings s;
  s.text = "${LineRandStr()}";
  EXPECT_EQ(Built(s, "", host), "${LineRandStr()}");  // an empty file has no line to pick
}

using InsertLinesRun = testing::MarkedFilesRun;

TEST_F(InsertLinesRun, InsertsAMultiLineTextIntoEveryFile) {
  InsertLinesSettings s;
  s.text = "${Filename}\r\n${ModifyDate}";
  s.lineNumber = "1";
  RunInsertLines(files_, s, host_);
  EXPECT_EQ(temp_.Read("a.txt"), "1\r\na.txt\r\n2020-01-02\r\n2\r\n3\r\n");
  EXPECT_EQ(temp_.Read("b.txt"), "1\r\nb.txt\r\n2020-01-02\r\n2\r\n3\r\n");
  EXPECT_EQ(temp_.Read("b.txt.bak"), "1\n2\n3\n");
  EXPECT_EQ(host_.boxes, Texts{"[info] 成功处理完成,共处理 2 个文件!"});
}

TEST_F(InsertLinesRun, RefusesBadInputBeforeTouchingAFile) {
  struct Case {
    const char* name;
    At at;
    const char* text;
    const char* number;
    const char* groupSize;
    const char* keywords;
    const char* box;  // nullptr: a CommandError with `error`
    const char* error;
    const char* focus;
    bool afterDisabling = false;
  } const cases[] = {
      {"empty text", At::Keywords, "", "0", "2", "",
       "[error] 要插入的文字内容不能为空,请输入后再试!", nullptr, "mmoNewCont"},
      {"keywords empty", At::Keywords, "x", "0", "2", "", "[error] 插入行关键字为空,请输入后再试!",
       nullptr, "edtLineKey"},
      {"P read in the interval mode", At::Interval, "x", "p", "2", "", nullptr,
       "'p' is not a valid integer value", ""},
      {"interval N below 1", At::Interval, "x", "0", "-1", "",
       "[error] 间隔行数必须大于0,请重新输入!", nullptr, "edtInsPers"},
      {"a LineStr number", At::LineNumber, "${LineStr(two)}", "0", "2", "", nullptr,
       "'two' is not a valid integer value", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InsertLinesSettings s;
    s.at = c.at;
    s.text = c.text;
    s.lineNumber = c.number;
    s.groupSize = c.groupSize;
    s.keywords = c.keywords;
    ExpectRefused([&] { return RunInsertLines(files_, s, host_); }, c.box, c.error, c.focus,
                  c.afterDisabling);
  }
}

}  // namespace
}  // namespace content
