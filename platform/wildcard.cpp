#include "platform/wildcard.h"

#include "platform/ascii.h"
#include "platform/code_page.h"

namespace platform {
namespace {

// Matches left to right; on a mismatch the last "*" takes one more character and the
// rest is tried again. Earlier stars never need to move, so the work is bounded by
// name length times pattern length, whatever the pattern. `fold(pos)` gives the name's
// character at the byte position `pos`, lowered.
template <typename Item, typename Kind, typename Fold>
bool MatchItems(const std::vector<Item>& items, std::size_t nameSize, Fold fold) {
  constexpr std::size_t kNoStar = static_cast<std::size_t>(-1);
  std::size_t p = 0, pos = 0, afterStar = kNoStar, starPos = 0;
  while (pos < nameSize) {
    if (p < items.size()) {
      const Item& item = items[p];
      if (item.kind == Kind::AnyRun) {
        afterStar = ++p;
        starPos = pos;
        continue;
      }
      const FoldedChar c = fold(pos);
      if (item.kind == Kind::AnyChar || SameFolded(c, item.ch)) {
        ++p;
        pos += c.sourceLength;
        continue;
      }
    }
    if (afterStar == kNoStar) return false;
    p = afterStar;
    starPos += fold(starPos).sourceLength;
    pos = starPos;
  }
  while (p < items.size() && items[p].kind == Kind::AnyRun) ++p;
  return p == items.size();
}

}  // namespace

Wildcard::Wildcard(std::string_view pattern) {
  matchesEverything_ = pattern == "*.*";
  for (std::size_t pos = 0; pos < pattern.size();) {
    Item item;
    item.ch = FoldCharAt(pattern, pos);
    pos += item.ch.sourceLength;
    if (item.ch.size == 1 && item.ch.bytes[0] == '*') {
      if (!items_.empty() && items_.back().kind == Kind::AnyRun) continue;
      item.kind = Kind::AnyRun;
    } else if (item.ch.size == 1 && item.ch.bytes[0] == '?') {
      item.kind = Kind::AnyChar;
    }
    items_.push_back(item);
  }
}

bool Wildcard::Matches(std::string_view name) const {
  if (matchesEverything_) return true;
  if (IsAscii(name)) {
    return MatchItems<Item, Kind>(items_, name.size(), [&](std::size_t pos) {
      const char c = name[pos];
      return FoldedChar{{AsciiLower(c)}, 1, 1};
    });
  }
  return MatchItems<Item, Kind>(items_, name.size(),
                                [&](std::size_t pos) { return FoldCharAt(name, pos); });
}

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  return Wildcard(pattern).Matches(name);
}

}  // namespace platform
