#include "content/line_diff.h"

#include <algorithm>
#include <cstdint>

namespace content {
namespace {

// How far ahead a change is looked for its end, and how many new lines are held at most.
constexpr std::size_t kWindow = 1000;
// How many lines in a row must match again for a change to be taken as ended.
constexpr std::size_t kAnchor = 4;

}  // namespace

DiffingSink::DiffingSink(const LineList& old, std::size_t limit)
    : next_(old.begin()), end_(old.end()), limit_(limit) {}

std::size_t DiffingSink::Ahead(std::size_t count) {
  while (ahead_.size() < count && next_ != end_) {
    ahead_.push_back(*next_);
    ++next_;
  }
  return std::min(ahead_.size(), count);
}

void DiffingSink::Add(std::string_view line) {
  if (Full()) return;
  if (held_.empty() && Ahead(1) == 1 && ahead_.front() == line) {
    ahead_.pop_front();
    ++oldLine_;
    ++newLine_;
    return;
  }
  held_.emplace_back(line);
  if (const std::size_t anchor = FindAnchor(); anchor != std::string_view::npos) {
    Settle(anchor, held_.size() - kAnchor, false);
    Keep(kAnchor);
  } else if (held_.size() >= kWindow) {
    Settle(Ahead(2 * kWindow), held_.size(), true);
  }
}

std::size_t DiffingSink::FindAnchor() {
  const std::size_t held = held_.size();
  if (held < kAnchor) return std::string_view::npos;
  const std::size_t ahead = Ahead(kWindow);
  for (std::size_t at = 0; at + kAnchor <= ahead; ++at) {
    std::size_t same = 0;
    while (same < kAnchor && ahead_[at + kAnchor - 1 - same] == held_[held - 1 - same]) ++same;
    if (same == kAnchor) return at;
  }
  return std::string_view::npos;
}

void DiffingSink::Settle(std::size_t oldCount, std::size_t newCount, bool throughLastMatch) {
  // common[o * width + n]: the longest common subsequence of the old lines from o and the
  // held lines from n. Neither side passes 2,000 lines, so it fits 16 bits.
  const std::size_t width = newCount + 1;
  std::vector<std::uint16_t> common((oldCount + 1) * width, 0);
  for (std::size_t o = oldCount; o-- > 0;) {
    for (std::size_t n = newCount; n-- > 0;) {
      common[o * width + n] =
          ahead_[o] == held_[n] ? static_cast<std::uint16_t>(common[(o + 1) * width + n + 1] + 1)
                                : std::max(common[(o + 1) * width + n], common[o * width + n + 1]);
    }
  }
  // The changes before each common line, in order; a common line is always worth taking.
  struct Before {
    std::size_t removed = 0, added = 0;
  };
  std::vector<Before> matched;
  Before tail;
  for (std::size_t o = 0, n = 0; o < oldCount || n < newCount;) {
    if (o < oldCount && n < newCount && ahead_[o] == held_[n]) {
      matched.push_back(tail);
      tail = {};
      ++o;
      ++n;
    } else if (n == newCount ||
               (o < oldCount && common[(o + 1) * width + n] >= common[o * width + n + 1])) {
      ++o;
      ++tail.removed;
    } else {
      ++n;
      ++tail.added;
    }
  }
  if (throughLastMatch && matched.empty()) {
    // Nothing in common: the held lines take the place of as many old ones.
    Change(std::min(oldCount, newCount), newCount);
    return;
  }
  // Change and Keep take their lines from the fronts, so the steps apply in order.
  for (const Before& step : matched) {
    Change(step.removed, step.added);
    Keep(1);
  }
  if (!throughLastMatch) Change(tail.removed, tail.added);
}

void DiffingSink::Change(std::size_t oldCount, std::size_t newCount) {
  if (oldCount == 0 && newCount == 0) return;
  const bool joins =
      !diff_.hunks.empty() &&
      diff_.hunks.back().oldStart + static_cast<std::int64_t>(diff_.hunks.back().removed.size()) ==
          oldLine_ &&
      diff_.hunks.back().newStart + static_cast<std::int64_t>(diff_.hunks.back().added.size()) ==
          newLine_;
  if (!joins && shown_ < limit_) diff_.hunks.push_back({oldLine_, newLine_, {}, {}});
  // Past the limit, a change keeps as much of each side as it can, half and half.
  const std::size_t room = limit_ - shown_;
  const std::size_t removed = std::min(oldCount, room - std::min(newCount, room / 2));
  const std::size_t added = std::min(newCount, room - removed);
  if (removed < oldCount || added < newCount) diff_.cut = true;
  shown_ += removed + added;
  for (std::size_t i = 0; i < oldCount; ++i) {
    if (i < removed) diff_.hunks.back().removed.emplace_back(ahead_.front());
    ahead_.pop_front();
  }
  for (std::size_t i = 0; i < newCount; ++i) {
    if (i < added) diff_.hunks.back().added.push_back(std::move(held_.front()));
    held_.pop_front();
  }
  oldLine_ += static_cast<std::int64_t>(oldCount);
  newLine_ += static_cast<std::int64_t>(newCount);
}

void DiffingSink::Keep(std::size_t count) {
  ahead_.erase(ahead_.begin(), ahead_.begin() + static_cast<std::ptrdiff_t>(count));
  held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(count));
  oldLine_ += static_cast<std::int64_t>(count);
  newLine_ += static_cast<std::int64_t>(count);
}

LineDiff DiffingSink::Finish() {
  while (!held_.empty() && !Full()) {
    const std::size_t ahead = Ahead(2 * kWindow);
    Settle(ahead, held_.size(), next_ != end_);
  }
  // The old lines the new ones never reached are removed.
  while (!Full() && Ahead(kWindow) > 0) Change(ahead_.size(), 0);
  return std::move(diff_);
}

namespace {

// "-a,b" or "+c,d": a count of 0 names the line before the place.
std::string Range(char side, std::int64_t start, std::size_t count) {
  return side + std::to_string(count == 0 ? start - 1 : start) + ',' + std::to_string(count);
}

}  // namespace

std::string HunkHeader(const DiffHunk& hunk) {
  return "@@ " + Range('-', hunk.oldStart, hunk.removed.size()) + ' ' +
         Range('+', hunk.newStart, hunk.added.size()) + " @@";
}

std::vector<std::string> UnifiedDiffLines(const LineDiff& diff) {
  std::vector<std::string> lines;
  for (const DiffHunk& hunk : diff.hunks) {
    lines.push_back(HunkHeader(hunk));
    for (const std::string& line : hunk.removed) lines.push_back('-' + line);
    for (const std::string& line : hunk.added) lines.push_back('+' + line);
  }
  return lines;
}

}  // namespace content
