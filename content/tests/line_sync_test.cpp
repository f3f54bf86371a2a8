#include "content/line_sync.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "content/line_choice.h"
#include "content/tests/marked_files.h"
#include "platform/engine_text.h"
#include "platform/testing/recording_host.h"

namespace content {
namespace {

using Texts = std::vector<std::string>;

// The folded search over the whole text must tell of every line what a search of that
// line alone tells: letter case ignored, matches only at the line's characters.
TEST(FoldedKeywordLines, AgreesWithASearchOfEachLine) {
  struct Case {
    const char* name;
    std::string text;
    Texts keywords;
    std::vector<bool> holds;
  } const cases[] = {
      {"letter case", "Abc\nxyz\r\nABC\rb", {"b"}, {true, false, true, true}},
      {"a trail byte is no letter", "\x81\x41\nA\n", {"a"}, {false, true}},
      {"several keywords, empty ones ignored",
       "one\ntwo\nthree\n",
       {"", "TW", "ee"},
       {false, true, true}},
      {"a keyword with a line break is in no line",
       "a\nb\na\r\nb",
       {"a\nb", "a\r\nb"},
       {false, false, false, false}},
      {"a cut-off keyword at a line's end",
       "ax\x81\nx\x81y\nX\x81",
       {"x\x81"},
       {true, false, true}},
      // Within three bytes of a line's end a lead byte before a digit is a character of
      // its own, the digit another; read on past the line break they would be one.
      {"a lead byte and a digit at a line's end",
       "x\x81"
       "0\ny\n",
       {"0"},
       {true, false}},
      {"the same, two digits",
       "x\x81"
       "01\n",
       {"01"},
       {true}},
      {"a four-byte character", "\x81\x30\x81\x30\n0\n", {"0"}, {false, true}},
      {"a zero byte ends the text", std::string("ab\nc\0ab\n", 8), {"ab"}, {true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LineList list = LineList::FromBytes(c.text);
    FoldedKeywordLines lines(c.keywords, list.text());
    std::vector<bool> holds, perLine;
    for (const std::string_view line : list) {
      holds.push_back(lines.Holds(line));
      bool found = false;
      for (const std::string& keyword : c.keywords)
        found = found || platform::FindNoCase(line, keyword) != std::string_view::npos;
      perLine.push_back(found);
    }
    EXPECT_EQ(holds, c.holds);
    EXPECT_EQ(holds, perLine);
  }
}

struct Synced {
  Texts lines;
  std::int64_t records;
};

Synced Sync(std::string_view source, std::string_view target, const Texts& keywords) {
  const LineList sourceLines = LineList::FromBytes(source);
  const LineList targetLines = LineList::FromBytes(target);
  CollectedLines out;
  const std::int64_t records = SyncLines(sourceLines, targetLines, keywords, out);
  return {out.lines, records};
}

TEST(LineSync, PutsMatchingSourceLinesInPlaceOfTheTargetsLines) {
  struct Case {
    const char* name;
    const char* source;
    const char* target;
    Texts keywords;
    Texts synced;
    std::int64_t records;
  } const cases[] = {
      {"by line number", "a1\nb2\nA3\n", "x\ny\nz\nw\n", {"a"}, {"a1", "y", "A3", "w"}, 2},
      {"source lines past the target that match nothing",
       "x\nk\nx\nx\n",
       "1\n2\n",
       {"k"},
       {"1", "k"},
       1},
      {"no keyword", "a\n", "b\n", {}, {"b"}, 0},
      {"empty lines stay", "k\n\nk\n", "\n\n\n", {"k"}, {"k", "", "k"}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Synced synced = Sync(c.source, c.target, c.keywords);
    EXPECT_EQ(synced.lines, c.synced);
    EXPECT_EQ(synced.records, c.records);
  }
  try {
    Sync("a\nb\nc\nk\n", "1\n2\n", {"K"});
    ADD_FAILURE() << "no error";
  } catch (const platform::CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "List index out of bounds (3)");
  }
}

using LineSyncRun = testing::MarkedFilesRun;

TEST_F(LineSyncRun, RefusesWithoutKeywordsOrTwoFiles) {
  files_.SetMark(2, false);
  LineSyncSettings s;
  ExpectRefused([&] { return RunLineSync(files_, s, host_); }, "[error] 关键字为空,请输入后再试!",
                nullptr, "edtLineKeys");
  s.keywords = "1";
  ExpectRefused([&] { return RunLineSync(files_, s, host_); },
                "[error] 请选择需要按关键字进行同步的两个文件！", nullptr, "");
}

TEST_F(LineSyncRun, SavesTheTargetWithItsLinesReplaced) {
  struct Case {
    const char* keywords;
    const char* synced;
    int records;
  } const cases[] = {
      {"^x Y^", "x y 1\r\nt2\r\nt3\r\n", 1},
      {"k;^x y^ ", "x y 1\r\nt2\r\nk 3\r\n", 2},
      {"y k", "x y 1\r\nt2\r\nk 3\r\n", 2},  // a blank separates as ";" does
      {"   ", "t1\r\nt2\r\nt3\r\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keywords);
    temp_.Write("a.txt", "x y 1\nz\nk 3\n");
    temp_.Write("b.txt", "t1\nt2\nt3");
    host_.boxes.clear();
    LineSyncSettings s;
    s.keywords = c.keywords;
    RunLineSync(files_, s, host_);
    EXPECT_EQ(temp_.Read("b.txt"), c.synced);
    EXPECT_EQ(temp_.Read("b.txt.bak"), "t1\nt2\nt3");
    EXPECT_EQ(temp_.Read("a.txt"), "x y 1\nz\nk 3\n");
    EXPECT_EQ(host_.boxes,
              (Texts{"[info] 成功处理完成,共处理 " + std::to_string(c.records) + " 条记录!"}));
    EXPECT_EQ(host_.Count(platform::Counter::Change), 7);
  }
}

TEST_F(LineSyncRun, AMatchPastTheTargetsEndLeavesTheTarget) {
  temp_.Write("a.txt", "1\n2\n3\nk\n");
  LineSyncSettings s;
  s.keywords = "k";
  try {
    RunLineSync(files_, s, host_);
    ADD_FAILURE() << "no error";
  } catch (const platform::CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "List index out of bounds (3)");
  }
  EXPECT_EQ(temp_.Read("b.txt"), testing::kThreeLines);
  EXPECT_FALSE(temp_.Exists("b.txt.bak"));
  EXPECT_TRUE(host_.boxes.empty());
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true}));
  int entries = 0;  // no temporary sibling is left behind
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp_.Path()))
    ++entries;
  EXPECT_EQ(entries, 2);
}

}  // namespace
}  // namespace content
