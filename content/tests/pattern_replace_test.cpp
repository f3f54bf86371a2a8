#include "content/pattern_replace.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace content {
namespace {

using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

const tmpl::FixedClock kClock({2024, 5, 6, 7, 8, 9, 0});

// The entries of `lines` rebuilt by one rebuilder, so that the separator found in one
// line holds for the next.
Texts Rebuild(std::string_view pattern, const Texts& lines, int count = 3,
              std::string_view prefix = "$") {
  PatternRebuilder rebuilder{std::string(pattern), prefix, count, kClock};
  Texts out;
  std::string_view entry;
  for (const std::string& line : lines)
    if (rebuilder.Rebuild(line, entry)) out.emplace_back(entry);
  return out;
}

TEST(PatternReplace, SplitsFieldsAndPutsThemIn) {
  struct Case {
    const char* name;
    const char* pattern;
    Texts lines;
    Texts entries;
  } const cases[] = {
      {"two fields swapped", "$2=$1", {"a;b", "c;d"}, {"b=a", "d=c"}},
      {"blank and empty lines give nothing", "[$1]", {"", " \t ", "x"}, {"[x]"}},
      {"a run of blanks is one separator", "$1|$2", {"a  b"}, {"a|b"}},
      {"a run of tabs is one separator", "$1|$2", {" a\t\t b "}, {"a|b"}},
      {";; gives an empty field", "$1|$2|$3", {"a;;b"}, {"a||b"}},
      {"no empty field after a last separator", "$1|$2|$3", {"a;b;"}, {"a|b|$3"}},
      {"fields are trimmed", "<$1><$2>", {"  a ; b  "}, {"<a><b>"}},
      {"without a separator the line is one field", "<$1><$2>", {"ab"}, {"<ab><$2>"}},
      {"fields beyond the count are dropped", "$1$2$3$4", {"a;b;c;d"}, {"abc$4"}},
      {"the tab comes before ';'", "$1|$2", {"a;b\tc"}, {"a;b|c"}},
      {"';' comes before ':'", "$1|$2", {"a:b;c"}, {"a:b|c"}},
      {"double-byte fields", "$2=$1", {"\xD6\xD0;\xCE\xC4"}, {"\xCE\xC4=\xD6\xD0"}},
      {"names ignore letter case", "ARG1-arg2", {"a;b"}, {"a-b"}},
      {"a field may hold a later name", "$1", {"$2;x"}, {"x"}},
      {"a memo of two lines", "$1\r\n$2", {"a;b"}, {"a\r\nb"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool arg = std::string_view(c.name) == "names ignore letter case";
    EXPECT_EQ(Rebuild(c.pattern, c.lines, 3, arg ? " arg " : "$"), c.entries);
  }
}

TEST(PatternReplace, TheFirstSeparatorFoundHoldsForTheRestOfTheRun) {
  PatternRebuilder rebuilder{"$1|$2", "$", 3, kClock};
  std::string_view entry;
  ASSERT_TRUE(rebuilder.Rebuild("no-separator-here", entry));
  EXPECT_EQ(rebuilder.separator(), 0);
  ASSERT_TRUE(rebuilder.Rebuild("a b\tc", entry));  // the tab is looked for before the blank
  EXPECT_EQ(rebuilder.separator(), '\t');
  ASSERT_TRUE(rebuilder.Rebuild("x;y\tz", entry));
  EXPECT_EQ(entry, "x;y|z");
  PatternRebuilder blank{"$1|$2", "$", 3, kClock};
  ASSERT_TRUE(blank.Rebuild("a b", entry));
  ASSERT_TRUE(blank.Rebuild("c\td e", entry));  // split at the blank found first
  EXPECT_EQ(entry, "c\td|e");
}

TEST(PatternReplace, TenOrMoreArgumentsAndCountsBeyondSixteen) {
  Texts lines{"1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18"};
  // $1 is replaced first and hits the start of $10 and $18.
  EXPECT_EQ(Rebuild("$10,$18,$2", lines, 18), Texts{"10,18,2"});
  EXPECT_EQ(Rebuild("$17+$16", lines, 20), Texts{"17+16"});
  EXPECT_EQ(Rebuild("$2", lines, 0), Texts{"$2"});
  EXPECT_EQ(Rebuild("$2", lines, -4), Texts{"$2"});
}

TEST(PatternReplace, ItemsWorkOnTheTextBeingBuilt) {
  struct Case {
    const char* name;
    const char* pattern;
    const char* line;
    const char* entry;
  } const cases[] = {
      {"a picking item is spliced in", "$1=${GetLeft(2)}", "abc;d", "abc=ab"},
      {"a source-keeping item works on the text around it", "${AddLeft(<)}$1", "ab;c", "<ab"},
      {"AddRight too", "$1${AddRight(>)}", "ab", "ab>"},
      // ${Len(3)} first, then ${GetLeft(1)} on "abc:${GetLeft(1)}" is spliced in.
      {"innermost first", "$1:${GetLeft(${Len(abc)}-2)}", "abc", "abc:a"},
      {"an unknown function takes itself out", "${Nope(1)}$1", "x", "x"},
      {"a bare item gives its name", "${Ext}-$1", "x", "Ext-x"},
      {"a closing brace alone is plain text", "}$1}", "x", "}x}"},
      {"an item that never closes stays", "${GetLeft(1)$1", "x", "${GetLeft(1)x"},
      {"a plain brace before an item", "a}${GetLeft(1)}", "x", "a}a"},
      {"every copy of the item is replaced", "${GetLeft(2)}|${GETLEFT(2)}", "x", "${|${"},
      {"a brace inside a double-byte character is none", "\x81\x7D$1", "x", "\x81\x7Dx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Rebuild(c.pattern, {c.line}), Texts{c.entry});
  }
}

TEST(PatternReplace, ExpansionThatCannotEndStopsWithinTheCeiling) {
  // Each field multiplies the names of the next: the text would grow fourfold per step.
  Texts lines{
      "$2$2$2$2;$3$3$3$3;$4$4$4$4;$5$5$5$5;$6$6$6$6;$7$7$7$7;$8$8$8$8;$9$9$9$9;"
      "$10$10$10$10$10$10$10$10$10$10$10$10$10$10$10$10;$11$11$11$11$11$11$11$11;"
      "$12$12$12$12$12$12$12$12$12$12$12$12$12;$13$13$13$13$13$13$13$13$13$13$13;"
      "$14$14$14$14$14$14$14$14$14$14$14$14$14$14$14$14$14$14$14$14$14$14$14$14"};
  PatternRebuilder rebuilder{"$1$1$1$1$1$1$1$1", "$", 14, kClock, 4096};
  std::string_view entry;
  EXPECT_THROW(rebuilder.Rebuild(lines.front(), entry), platform::CommandError);
  // An item whose value keeps growing: each step would add a copy of the text.
  PatternRebuilder growing{"${RepStr(x,xx)}x", "$", 1, kClock, 4096};
  EXPECT_THROW(growing.Rebuild("a", entry), platform::CommandError);
}

// The fields put in as the steps say, one name after the other over the whole text.
std::string StepByStep(std::string pattern, std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  std::string_view rest = platform::TrimBlanks(line);
  for (std::size_t at; (at = rest.find(separator)) != std::string_view::npos;) {
    fields.push_back(platform::TrimBlanks(rest.substr(0, at)));
    rest = platform::TrimBlanks(rest.substr(at + 1));
  }
  if (!rest.empty()) fields.push_back(rest);
  for (std::size_t k = 1; k <= std::min<std::size_t>(fields.size(), 3); ++k)
    pattern = platform::ReplaceAllNoCase(pattern, "$" + std::to_string(k), fields[k - 1]);
  return pattern;
}

TEST(PatternReplace, PuttingFieldsBetweenPiecesGivesWhatTheStepsGive) {
  // Names, digits, separators and bytes of whole and broken double-byte characters.
  const std::vector<std::string_view> inPatterns = {"$1", "$2", "$3", "$",        "1",
                                                    "0",  "a",  ";",  "\xD6\xD0", "\x81"};
  const std::vector<std::string_view> inLines = {"$", "1",        "2",    "0",        "a",   ";",
                                                 " ", "\xD6\xD0", "\x81", "\x81\x30", "\xD0"};
  std::mt19937 random(7);
  auto text = [&](const std::vector<std::string_view>& bytes, int length) {
    std::string out;
    for (int i = 0; i < length; ++i) out += bytes[random() % bytes.size()];
    return out;
  };
  for (int round = 0; round < 4000; ++round) {
    const std::string pattern = text(inPatterns, 1 + static_cast<int>(random() % 6));
    PatternRebuilder rebuilder{pattern, "$", 3, kClock};
    std::string_view entry;
    ASSERT_TRUE(rebuilder.Rebuild("x;y", entry));  // the separator is ";" from here on
    for (int i = 0; i < 5; ++i) {
      const std::string line = text(inLines, static_cast<int>(random() % 10));
      const bool kept = rebuilder.Rebuild(line, entry);
      if (!kept) continue;
      ASSERT_EQ(entry, StepByStep(pattern, line, ';')) << "pattern " << pattern << " line " << line;
    }
  }
}

class PatternReplaceRun : public ::testing::Test {
 protected:
  void Add(const char* name, std::string_view bytes) {
    temp_.Write(name, bytes);
    files_.AppendFileRow({name, temp_.Path(), "1", "", "", ".txt"});
    files_.SetMark(files_.RowCount() - 1, true);
  }
  TempFolder temp_;
  fileset::FileList files_;
  RecordingHost host_;
};

TEST_F(PatternReplaceRun, KeepsTheSeparatorOfTheFirstSavedFileAndBacksUp) {
  Add("a.txt", std::string_view("x:y\0\n", 5));  // no text: its ":" counts for nothing
  Add("b.txt", "x y\n");
  Add("c.txt", "p;q r\r\n\r\n");
  PatternReplaceSettings s;
  s.pattern = "$2<$1";
  EXPECT_EQ(RunPatternReplace(files_, s, host_).focus, "");
  EXPECT_EQ(temp_.Read("a.txt"), std::string("x:y\0\n", 5));
  EXPECT_EQ(temp_.Read("b.txt"), "y<x\r\n");
  EXPECT_EQ(temp_.Read("c.txt"), "r<p;q\r\n");  // split at the blank of the file before
  EXPECT_EQ(temp_.Read("c.txt.bak"), "p;q r\r\n\r\n");
  EXPECT_FALSE(temp_.Exists("a.txt.bak"));
  EXPECT_EQ(host_.boxes,
            Texts{"[info] 成功处理完成,共处理 2 个文件!\n1 个文件含有零字节，不是文本，未处理"});
}

TEST_F(PatternReplaceRun, PageErrorsTouchNothing) {
  Add("a.txt", "a;b\n");
  host_.WriteCounter(platform::Counter::Change, 5);
  PatternReplaceSettings s;
  EXPECT_EQ(RunPatternReplace(files_, s, host_).focus, "mmPattern");
  EXPECT_EQ(host_.boxes, Texts{"[error] 模式格式为空,请输入后再试!"});
  s.pattern = "$1";
  s.argumentCount = "3x";
  try {
    RunPatternReplace(files_, s, host_);
    ADD_FAILURE() << "no error";
  } catch (const platform::CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "'3x' is not a valid integer value");
  }
  EXPECT_EQ(temp_.Read("a.txt"), "a;b\n");
  EXPECT_FALSE(temp_.Exists("a.txt.bak"));
  EXPECT_EQ(host_.Count(platform::Counter::Change), 5);  // read before the counter is reset
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace content
