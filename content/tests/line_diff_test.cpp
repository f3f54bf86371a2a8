#include "content/line_diff.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace content {
namespace {

using Lines = std::vector<std::string>;

LineDiff Diff(const Lines& before, const Lines& after, std::size_t limit = kShownDifferences) {
  std::string bytes;
  for (const std::string& line : before) bytes += line + "\r\n";
  const LineList old = LineList::FromBytes(bytes);
  DiffingSink sink(old, limit);
  for (const std::string& line : after) sink.Add(line);
  return sink.Finish();
}

// The old lines with every hunk applied; a hunk that does not fit the old lines fails.
Lines Apply(const Lines& before, const LineDiff& diff) {
  Lines result;
  std::size_t at = 0;  // old lines taken so far
  for (const DiffHunk& hunk : diff.hunks) {
    const auto start = static_cast<std::size_t>(hunk.oldStart - 1);
    EXPECT_GE(start, at);
    EXPECT_EQ(hunk.newStart, static_cast<std::int64_t>(result.size() + start - at) + 1);
    while (at < start) result.push_back(before[at++]);
    for (const std::string& line : hunk.removed) EXPECT_EQ(before.at(at++), line);
    result.insert(result.end(), hunk.added.begin(), hunk.added.end());
  }
  while (at < before.size()) result.push_back(before[at++]);
  return result;
}

std::size_t Shown(const LineDiff& diff) {
  std::size_t shown = 0;
  for (const DiffHunk& hunk : diff.hunks) shown += hunk.removed.size() + hunk.added.size();
  return shown;
}

TEST(LineDiffTest, SmallChangesReadAsUnifiedDiffs) {
  struct Case {
    const char* name;
    Lines before, after, expected;
  } cases[] = {
      {"same", {"a", "b"}, {"a", "b"}, {}},
      {"changed middle", {"a", "b", "c"}, {"a", "B", "c"}, {"@@ -2,1 +2,1 @@", "-b", "+B"}},
      {"inserted first", {"a", "b"}, {"x", "a", "b"}, {"@@ -0,0 +1,1 @@", "+x"}},
      {"deleted last", {"a", "b", "c"}, {"a", "b"}, {"@@ -3,1 +2,0 @@", "-c"}},
      {"emptied", {"a", "b"}, {}, {"@@ -1,2 +0,0 @@", "-a", "-b"}},
      {"from nothing", {}, {"a"}, {"@@ -0,0 +1,1 @@", "+a"}},
      {"moved to the front",
       {"a", "b", "c", "d", "e"},
       {"e", "a", "b", "c", "d"},
       {"@@ -0,0 +1,1 @@", "+e", "@@ -5,1 +5,0 @@", "-e"}},
      {"every other line kept",
       {"1", "2", "3", "4", "5", "6"},
       {"1", "3", "5"},
       {"@@ -2,1 +1,0 @@", "-2", "@@ -4,1 +2,0 @@", "-4", "@@ -6,1 +3,0 @@", "-6"}},
      {"blank lines around a change",
       {"", "", "x", "", ""},
       {"", "", "y", "", ""},
       {"@@ -3,1 +3,1 @@", "-x", "+y"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UnifiedDiffLines(Diff(c.before, c.after)), c.expected);
  }
}

// Large files edited at random places: the diff rebuilds the new lines exactly, and
// with distinct lines it is as small as the edits (a modified line is one removed and
// one added).
TEST(LineDiffTest, RandomEditsOfLargeFilesAreFoundExactly) {
  std::mt19937 random(7);
  for (const int spacing : {3, 17, 400}) {
    SCOPED_TRACE(spacing);
    Lines before;
    for (int i = 0; i < 6000; ++i) before.push_back("line " + std::to_string(i));
    Lines after;
    std::size_t edits = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (random() % static_cast<unsigned>(spacing) != 0) {
        after.push_back(before[i]);
        continue;
      }
      switch (random() % 3) {
        case 0:  // deleted
          edits += 1;
          break;
        case 1:  // modified
          after.push_back(before[i] + " changed");
          edits += 2;
          break;
        default:  // a block inserted before it
          for (int k = 0; k < 5; ++k) after.push_back("new " + std::to_string(i * 10 + k));
          after.push_back(before[i]);
          edits += 5;
      }
    }
    const LineDiff diff = Diff(before, after, 1u << 30);
    EXPECT_FALSE(diff.cut);
    EXPECT_EQ(Apply(before, diff), after);
    EXPECT_EQ(Shown(diff), edits);
  }
}

TEST(LineDiffTest, RepetitiveLinesStillRebuildTheNewFile) {
  std::mt19937 random(11);
  Lines before;
  for (int i = 0; i < 5000; ++i)
    before.push_back(random() % 4 == 0 ? "}" : std::string(1, 'a' + random() % 3));
  Lines after;
  for (const std::string& line : before) {
    if (random() % 5 == 0) continue;
    if (random() % 7 == 0) after.push_back("}");
    after.push_back(line);
  }
  EXPECT_EQ(Apply(before, Diff(before, after, 1u << 30)), after);
}

TEST(LineDiffTest, KeepsOnlyTheFirstDifferences) {
  Lines before;
  Lines after;
  for (int i = 0; i < 3000; ++i) {
    before.push_back(std::to_string(i));
    after.push_back(std::to_string(i) + "!");
  }
  const LineDiff diff = Diff(before, after, 1000);
  EXPECT_TRUE(diff.cut);
  EXPECT_EQ(Shown(diff), 1000u);
  ASSERT_FALSE(diff.hunks.empty());
  EXPECT_EQ(diff.hunks[0].removed.at(0), "0");
  EXPECT_EQ(diff.hunks[0].added.at(0), "0!");
  EXPECT_EQ(diff.hunks[0].removed.size(), 500u);
}

}  // namespace
}  // namespace content
