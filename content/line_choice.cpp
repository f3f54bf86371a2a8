#include "content/line_choice.h"

#include "platform/decimal.h"

namespace content {

LineInterval ReadInterval(std::string_view groupSize, std::string_view position) {
  LineInterval interval;
  interval.groupSize = platform::ParseInteger(groupSize);
  interval.position = platform::ParseInteger(position);
  if (interval.position < 1) interval.position = 1;
  if (interval.position >= interval.groupSize) interval.position = 0;
  return interval;
}

KeywordLines::KeywordLines(const std::vector<std::string>& keywords, std::string_view text)
    : text_(text) {
  for (const std::string& keyword : keywords)
    if (!keyword.empty()) next_.push_back({keyword, 0, false});
}

bool KeywordLines::Holds(std::string_view line) {
  const auto start = static_cast<std::size_t>(line.data() - text_.data());
  const std::size_t end = start + line.size();
  bool holds = false;
  for (Next& next : next_) {
    if (!next.searched || next.at < start) {  // a place found from an earlier line still stands
      next.at = text_.find(next.keyword, start);
      next.searched = true;
    }
    // A place that starts in the line but runs past its end is no match in it, and
    // neither is any later one in that line.
    if (next.at != std::string_view::npos && next.at + next.keyword.size() <= end) holds = true;
  }
  return holds;
}

}  // namespace content
