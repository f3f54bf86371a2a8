#include "content/cut_lines.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace content {
namespace {

using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

TEST(CutLines, KeepsTheCutOrTheRest) {
  const LineList text = LineList::FromBytes("abcd\r\n\r\n  \r\nxab\r\nab\r\n\xD6\xD0\xCE\xC4\r\n");
  struct Case {
    const char* name;
    const char* format;
    bool keepCut;
    WorkedLines lines;
    int lineNumber;
    const char* keyword;
    Texts out;
  } const cases[] = {
      {"left two, keep the cut, text lines",
       "${GetLeft(2)}",
       true,
       WorkedLines::WithText,
       1,
       "",
       {"ab", "", "", "xa", "", "\xD6\xD0"}},  // "  " is its own cut: uncut
      {"left two, keep the rest, text lines",
       "${GetLeft(2)}",
       false,
       WorkedLines::WithText,
       1,
       "",
       {"cd", "", "  ", "b", "ab", "\xCE\xC4"}},
      {"all lines",
       "${GetLeft(1)}",
       true,
       WorkedLines::All,
       1,
       "",
       {"a", "", " ", "x", "a", "\xD6"}},
      {"keyword, keep the cut: other lines become empty",
       "${GetRight(1)}",
       true,
       WorkedLines::WithKeyword,
       1,
       "x",
       {"", "", "", "b", "", ""}},
      {"keyword, keep the rest: other lines stay",
       "${GetRight(1)}",
       false,
       WorkedLines::WithKeyword,
       1,
       "x",
       {"abcd", "", "  ", "xa", "ab", "\xD6\xD0\xCE\xC4"}},
      // The cut "ab" of "xab" occurs once; of "abab" only the first goes.
      {"line number keeps the rest",
       "${GetRight(2)}",
       false,
       WorkedLines::LineNumber,
       4,
       "",
       {"abcd", "", "  ", "x", "ab", "\xD6\xD0\xCE\xC4"}},
      {"line number beyond the end works on the last line",
       "${GetLeft(1)}",
       true,
       WorkedLines::LineNumber,
       10,
       "",
       {"abcd", "", "  ", "xab", "ab", "\xD6"}},
      {"line number keeps the cut of the first line",
       "${GetLeft(3)}",
       true,
       WorkedLines::LineNumber,
       1,
       "",
       {"abc", "", "  ", "xab", "ab", "\xD6\xD0\xCE\xC4"}},
      // A byte-exact keyword that starts inside a character still selects the line.
      {"keyword across characters",
       "${GetLeft(2)}",
       true,
       WorkedLines::WithKeyword,
       1,
       "\xD0\xCE",
       {"", "", "", "", "", "\xD6\xD0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CollectedLines out;
    CutLines(text, {c.format, c.keepCut, c.lines, c.lineNumber, c.keyword}, out);
    EXPECT_EQ(out.lines, c.out);
  }
}

TEST(RemoveFirst, RemovesOnlyTheFirstByteExactOccurrence) {
  struct Case {
    const char* line;
    const char* cut;
    const char* out;
  } const cases[] = {
      {"abab", "ab", "ab"}, {"xaby", "ab", "xy"},  {"abc", "", "abc"},
      {"abc", "z", "abc"},  {"abc", "ABC", "abc"}, {"\xD6\xD0\xCE\xC4", "\xD0\xCE", "\xD6\xC4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::string scratch = "old";
    EXPECT_EQ(RemoveFirst(c.line, c.cut, scratch), c.out);
  }
}

TEST(CutRun, ChecksTheFormatAndKeywordBeforeAnything) {
  struct Case {
    const char* format;
    WorkedLines lines;
    const char* keyword;
    const char* lineNumber;
    const char* outcome;
  } const cases[] = {
      {" \t", WorkedLines::All, "", "1", "[error] 请输入内容截取格式！"},
      {"GetLeft(2)", WorkedLines::All, "", "1",
       "[error] 内容截取格式不正确，请在左边选择变量或函数！"},
      {"${GetLeft(2)}", WorkedLines::WithKeyword, "", "1",
       "[error] 关键字不能为空，请输入后再试！"},
      // The line number is read whatever line choice is made.
      {"${GetLeft(2)}", WorkedLines::All, "", "", "'' is not a valid integer value"},
      {"${GetLeft(2)}", WorkedLines::WithText, "", "x1", "'x1' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.outcome);
    TempFolder temp;
    fileset::FileList files;
    temp.Write("a.txt", "abcd\n");
    files.AppendFileRow({"a.txt", temp.Path(), "5", "", "", ".txt"});
    files.SetMark(1, true);
    RecordingHost host;
    host.WriteCounter(platform::Counter::Change, 4);
    std::string outcome;
    try {
      RunCut(files, {c.format, true, c.lines, c.lineNumber, c.keyword, true}, host);
      ASSERT_EQ(host.boxes.size(), 1u);
      outcome = host.boxes[0];
      EXPECT_TRUE(host.commandEnabled.empty());
    } catch (const platform::CommandError& error) {
      outcome = error.what();
      EXPECT_EQ(host.commandEnabled, (std::vector<bool>{false, true}));
    }
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(temp.Read("a.txt"), "abcd\n");
    EXPECT_FALSE(temp.Exists("a.txt.bak"));
    EXPECT_EQ(host.Count(platform::Counter::Change), 4);
  }
}

TEST(CutRun, LineNumberBelowOneWorksOnTheFirstLine) {
  TempFolder temp;
  fileset::FileList files;
  temp.Write("a.txt", "abcd\nefgh");
  files.AppendFileRow({"a.txt", temp.Path(), "9", "", "", ".txt"});
  files.SetMark(1, true);
  RecordingHost host;
  RunCut(files, {" ${GetLeft(2)} ", false, WorkedLines::LineNumber, "-5", "", false}, host);
  EXPECT_EQ(temp.Read("a.txt"), "cd\r\nefgh\r\n");
  EXPECT_FALSE(temp.Exists("a.txt.bak"));
  EXPECT_EQ(host.boxes, (Texts{"[info] 成功处理完成,共处理 1 个文件!"}));
}

}  // namespace
}  // namespace content
