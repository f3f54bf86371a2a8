#pragma once
// The differences between a file's lines and the lines a mode makes of it, worked out
// while the mode makes them: the new lines are compared with the file's as they come,
// and only the lines that differ (up to a limit) are kept, so a large file is never
// held twice.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "content/line_list.h"

namespace content {

// One run of changed lines: `removed` old lines from old line `oldStart`, replaced by
// `added` new lines from new line `newStart` (1-based; where a side is empty, its start
// is the line that follows the place).
struct DiffHunk {
  std::int64_t oldStart = 1;
  std::int64_t newStart = 1;
  std::vector<std::string> removed;
  std::vector<std::string> added;
};

struct LineDiff {
  std::vector<DiffHunk> hunks;  // in line order
  bool cut = false;             // more lines differ than were kept
};

// How many differing lines (removed and added) a diff keeps.
inline constexpr std::size_t kShownDifferences = 1000;

// Takes the new lines of `old` in order; Finish gives the differences. A line that is
// the next old line is taken as kept while no change is pending. After a change, the new
// lines are held until four in a row match old lines again within the next 1,000, or
// 1,000 are held; the held stretch is then matched with the old one line by line (the
// longest common subsequence), so a line moved, deleted or inserted shows as itself.
class DiffingSink final : public LineSink {
 public:
  explicit DiffingSink(const LineList& old, std::size_t limit = kShownDifferences);
  void Add(std::string_view line) override;
  // After the last line: the old lines not reached are removed.
  LineDiff Finish();

 private:
  bool Full() const { return diff_.cut; }
  // Makes `count` old lines ahead available (fewer at the end); how many there are.
  std::size_t Ahead(std::size_t count);
  // Where the last four held lines match four old lines ahead; npos: nowhere.
  std::size_t FindAnchor();
  // Matches the first `oldCount` old lines ahead with the first `newCount` held ones.
  // With `throughLastMatch`, only as far as their last common line, the rest staying for
  // later; without, all of both.
  void Settle(std::size_t oldCount, std::size_t newCount, bool throughLastMatch);
  void Keep(std::size_t count);  // passes lines that are the same on both sides
  void Change(std::size_t oldCount, std::size_t newCount);  // the next lines differ

  LineList::Iterator next_;  // the first old line not in ahead_
  LineList::Iterator end_;
  std::deque<std::string_view> ahead_;  // old lines read but not yet settled
  std::deque<std::string> held_;        // new lines not yet settled
  std::int64_t oldLine_ = 1;            // the number of ahead_.front()
  std::int64_t newLine_ = 1;            // the number of held_.front()
  std::size_t limit_;
  std::size_t shown_ = 0;
  LineDiff diff_;
};

// "@@ -a,b +c,d @@": a count of 0 puts the start on the line before.
std::string HunkHeader(const DiffHunk& hunk);

// The differences as unified-diff lines without context: each hunk's header, then
// "-old" and "+new" lines.
std::vector<std::string> UnifiedDiffLines(const LineDiff& diff);

}  // namespace content
