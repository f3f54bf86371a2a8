#include "content/line_list.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <random>

#include "platform/error.h"
#include "platform/testing/temp_folder.h"

namespace content {
namespace {

using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

Texts LinesOf(const LineList& list) { return Texts(list.begin(), list.end()); }

TEST(LineList, SplitsAtEveryKindOfBreak) {
  struct Case {
    const char* name;
    std::string bytes;
    Texts lines;
  } const cases[] = {
      {"empty file", "", {}},
      {"CR LF, final break", "a\r\nb\r\n", {"a", "b"}},
      {"CR LF, no final break", "a\r\nb", {"a", "b"}},
      {"lone LF", "a\nb\n", {"a", "b"}},
      {"lone CR", "a\rb\r", {"a", "b"}},
      {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
      {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
      {"only a break", "\r\n", {""}},
      {"two breaks", "\n\n", {"", ""}},
      {"blank line kept", "a\r\n  \r\nb", {"a", "  ", "b"}},
      {"text ends at a zero byte", std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {"zero byte right after a break", std::string("a\n\0b", 4), {"a"}},
      {"zero byte first", std::string("\0abc", 4), {}},
      {"byte-order mark set aside", "\xEF\xBB\xBFx\r\n", {"x"}},
      {"byte-order mark only", "\xEF\xBB\xBF", {}},
      {"byte-order mark not first is text", "x\n\xEF\xBB\xBFy", {"x", "\xEF\xBB\xBFy"}},
      {"GBK text",
       "\xD6\xD0\xCE\xC4\r\n\xB2\xE2\xCA\xD4",
       {"\xD6\xD0\xCE\xC4", "\xB2\xE2\xCA\xD4"}},
      {"long line over the block scan",
       std::string(40, 'x') + "\r" + std::string(17, 'y'),
       {std::string(40, 'x'), std::string(17, 'y')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LinesOf(LineList::FromBytes(c.bytes)), c.lines);
  }
}

// The lines as the rule states them, one byte at a time, for comparison.
Texts SplitPlainly(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  Texts lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') {
      line += bytes[i];
      continue;
    }
    lines.push_back(line);
    line.clear();
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Breaks fall anywhere against the blocks the scan reads, CR LF across their borders
// included; random texts of a few hundred bytes meet every such case.
TEST(LineList, FindsEveryBreakWhereverItFallsInTheScan) {
  std::mt19937 random(7);
  const char alphabet[] = {'a', 'b', '\r', '\n', '\xD6', ' ', '\0'};
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(random() % 300, 'x');
    // Few zero bytes, so that most texts run to their end.
    for (char& c : bytes) c = alphabet[random() % (round % 2 == 0 ? 6 : 7)];
    SCOPED_TRACE(::testing::PrintToString(bytes));
    const LineList list = LineList::FromBytes(bytes);
    const Texts expected = SplitPlainly(bytes);
    ASSERT_EQ(LinesOf(list), expected);
    ASSERT_EQ(list.size(), expected.size());
    ASSERT_EQ(list.empty(), expected.empty());
  }
}

// A zero byte makes a file no text; a leading byte-order mark is kept apart from line 1
// but stays in the file's bytes. The zero byte is known from a walk of the lines or, when
// the lines were not walked to their end, from a search: both must agree.
TEST(LineList, KnowsAZeroByteAndAByteOrderMark) {
  struct Case {
    std::string bytes;
    bool zero, mark;
  } const cases[] = {
      {"", false, false},
      {"a\r\nb", false, false},
      {std::string("a\r\nb\0c", 6), true, false},
      {std::string("\0", 1), true, false},
      {std::string("a\n\0", 3), true, false},
      {std::string(200, 'x') + std::string("\0", 1), true, false},
      {"\xEF\xBB\xBF", false, true},
      {std::string("\xEF\xBB\xBF\0", 4), true, true},
      {"\xEF\xBBx", false, false},
      {std::string("\xFF\xFE"
                   "a\0b\0",
                   6),
       true, false},  // UTF-16 text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    const LineList unwalked = LineList::FromBytes(c.bytes);
    EXPECT_EQ(unwalked.HoldsZeroByte(), c.zero);
    const LineList walked = LineList::FromBytes(c.bytes);
    for ([[maybe_unused]] const std::string_view line : walked) {
    }
    EXPECT_EQ(walked.HoldsZeroByte(), c.zero);
    EXPECT_EQ(walked.HasByteOrderMark(), c.mark);
    EXPECT_EQ(walked.bytes(), c.bytes);
    EXPECT_EQ(walked.text(), std::string_view(c.bytes).substr(c.mark ? 3 : 0));
  }
}

TEST(LineList, LoadsTheWholeFileAndRefusesWhatCannotBeRead) {
  TempFolder temp;
  const std::string path = temp.Write("a.txt", std::string("one\ntwo\rthree\r\n\0rest", 20));
  EXPECT_EQ(LinesOf(LineList::Load(platform::NativePath(path))), (Texts{"one", "two", "three"}));
  const std::string pipe = temp.Path("pipe");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& bad : {temp.Path("missing.txt"), temp.MakeFolder("folder"), pipe}) {
    SCOPED_TRACE(bad);
    try {
      LineList::Load(platform::NativePath(bad));
      FAIL() << "no error";
    } catch (const platform::CommandError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot open file " + bad);
    }
  }
}

// Another program may change a file while its lines are read: the list then knows that
// it does not hold the file. Cut short, the lines end where the file now ends instead
// of ending the program.
TEST(LineList, AFileChangedWhileReadIsNotTakenForTheFile) {
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes += "line " + std::to_string(i) + "\n";
  struct Case {
    const char* name;
    std::function<void(const std::string&)> change;
    bool intact;
  } const cases[] = {
      {"untouched", [](const std::string&) {}, true},
      {"cut short", [](const std::string& path) { ASSERT_EQ(truncate(path.c_str(), 0), 0); },
       false},
      {"emptied and written again at the same size",
       [&](const std::string& path) {
         std::ofstream(path, std::ios::binary) << std::string(bytes.size(), 'N');
       },
       false},
      {"overwritten in place",
       [](const std::string& path) {
         std::fstream(path, std::ios::binary | std::ios::in | std::ios::out) << "LINE";
       },
       false},
      {"appended to",
       [](const std::string& path) {
         std::ofstream(path, std::ios::binary | std::ios::app) << "x";
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    const std::string path = temp.Write("a.txt", bytes);
    // Old times, so that a change shows even where the clock moves in coarse steps.
    const timespec old[2] = {{946684800, 0}, {946684800, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), old, 0), 0);
    const LineList list = LineList::Load(platform::NativePath(path));
    c.change(path);
    std::size_t count = 0;
    for ([[maybe_unused]] const std::string_view line : list) ++count;
    if (c.intact) {
      EXPECT_EQ(count, 5000u);
    }
    EXPECT_EQ(list.Intact(), c.intact);
  }
}

TEST(LineFileWriter, WritesEveryLineWithCrLfAndReplacesOnlyAtCommit) {
  TempFolder temp;
  const std::string path = temp.Write("a.txt", "old\n");
  {
    LineFileWriter writer{platform::NativePath(path)};
    for (const char* line : {"", "\xD6\xD0", "x y"}) writer.Add(line);
    EXPECT_EQ(temp.Read("a.txt"), "old\n");
  }  // destroyed without Commit: the file stays as it was
  EXPECT_EQ(temp.Read("a.txt"), "old\n");

  LineFileWriter writer{platform::NativePath(path)};
  for (const char* line : {"", "\xD6\xD0", "x y"}) writer.Add(line);
  writer.Commit();
  EXPECT_EQ(temp.Read("a.txt"), "\r\n\xD6\xD0\r\nx y\r\n");

  LineFileWriter none{platform::NativePath(path)};
  none.Commit();
  EXPECT_EQ(temp.Read("a.txt"), "");
}

TEST(LineFileWriter, WritesLinesLongerThanItsBuffer) {
  TempFolder temp;
  const std::string path = temp.Write("big.txt");
  const std::string longLine(3 << 20, 'q');
  LineFileWriter writer{platform::NativePath(path)};
  writer.Add("a");
  writer.Add(longLine);
  writer.Add("b");
  writer.Commit();
  EXPECT_EQ(temp.Read("big.txt"), "a\r\n" + longLine + "\r\nb\r\n");
}

TEST(LineFileWriter, RefusesAReadOnlyFileBeforeWritingAnything) {
  TempFolder temp;
  const std::string path = temp.Write("ro.txt", "keep");
  chmod(path.c_str(), 0444);  // refused even though root could write it
  try {
    LineFileWriter writer{platform::NativePath(path)};
    FAIL() << "no error";
  } catch (const platform::CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
  }
  EXPECT_EQ(temp.Read("ro.txt"), "keep");
}

}  // namespace
}  // namespace content
