#include "content/line_choice.h"

#include <algorithm>
#include <cstring>

#include "platform/code_page.h"
#include "platform/decimal.h"

namespace content {
namespace {

// The first place of `keyword` in `text` at or after `from`. It jumps to each place of
// the keyword's last byte: in Chinese text that is a trail byte, one of some 190, where
// the first byte is often one of the few lead bytes that start most characters.
std::size_t FindFrom(std::string_view text, std::string_view keyword, std::size_t from) {
  const std::size_t size = keyword.size();
  if (from > text.size() || text.size() - from < size) return std::string_view::npos;
  const char last = keyword.back();
  const char* const end = text.data() + text.size();
  for (const char* at = text.data() + from + size - 1; at < end; ++at) {
    at = static_cast<const char*>(std::memchr(at, last, static_cast<std::size_t>(end - at)));
    if (at == nullptr) break;
    const char* start = at - (size - 1);
    if (std::memcmp(start, keyword.data(), size - 1) == 0)
      return static_cast<std::size_t>(start - text.data());
  }
  return std::string_view::npos;
}

}  // namespace

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
      next.at = FindFrom(text_, next.keyword, start);
      next.searched = true;
    }
    // A place that starts in the line but runs past its end is no match in it, and
    // neither is any later one in that line.
    if (next.at != std::string_view::npos && next.at + next.keyword.size() <= end) holds = true;
  }
  return holds;
}

FoldedKeywordLines::FoldedKeywordLines(const std::vector<std::string>& keywords,
                                       std::string_view text)
    : text_(text.substr(0, text.find('\0'))), textIsAscii_(platform::IsAscii(text_)) {
  for (const std::string& keyword : keywords) {
    // A keyword with a line break in it is in no line.
    if (keyword.empty() || keyword.find_first_of("\r\n") != std::string::npos) continue;
    bool cutOff = false;
    for (std::size_t pos = 0; pos < keyword.size();) {
      const std::size_t length = platform::CharLength(keyword, pos);
      if (length == 1 && static_cast<unsigned char>(keyword[pos]) >= 0x81 &&
          static_cast<unsigned char>(keyword[pos]) <= 0xFE)
        cutOff = true;
      pos += length;
    }
    next_.push_back({platform::FoldedNeedle(keyword), 0, false, cutOff});
  }
}

namespace {

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x81 && c != '\xFF'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A lead byte and a digit near a line's end are read as one character when the line
// break follows them, but as two cut off by the end when the line stands alone.
bool EndsInLeadAndDigit(std::string_view line) {
  const std::size_t n = line.size();
  return (n >= 2 && IsLeadByte(line[n - 2]) && IsDigit(line[n - 1])) ||
         (n >= 3 && IsLeadByte(line[n - 3]) && IsDigit(line[n - 2]));
}

}  // namespace

bool FoldedKeywordLines::Holds(std::string_view line) {
  const auto start = static_cast<std::size_t>(line.data() - text_.data());
  const bool byLine = EndsInLeadAndDigit(line);
  for (Next& next : next_) {
    if (next.byLine || byLine) {
      if (next.needle.Find(line) != std::string_view::npos) return true;
      continue;
    }
    // Lines start at characters of the whole text too, and a match (no line break in
    // it) never runs on into the next line, so one search of the text serves every line
    // up to the place found.
    if (!next.searched || next.at < start) {
      next.at = next.needle.Next(text_, start, textIsAscii_).start;
      next.searched = true;
    }
    if (next.at != std::string_view::npos && next.at < start + line.size()) return true;
  }
  return false;
}

LinesHoldingKeywords::LinesHoldingKeywords(const std::vector<std::string>& keywords,
                                           std::string_view text)
    : text_(text.substr(0, text.find('\0'))) {
  for (const std::string& keyword : keywords)
    // A keyword with a line break in it is in no line.
    if (!keyword.empty() && keyword.find_first_of("\r\n") == std::string::npos)
      next_.push_back({keyword, FindFrom(text_, keyword, 0)});
}

bool LinesHoldingKeywords::Next(std::string_view& line) {
  std::size_t first = std::string_view::npos;
  for (Place& next : next_) {
    if (next.at != std::string_view::npos && next.at < lineStart_)
      next.at = FindFrom(text_, next.keyword, lineStart_);
    first = std::min(first, next.at);
  }
  if (first == std::string_view::npos) return false;
  std::size_t start = first;
  while (start > lineStart_ && text_[start - 1] != '\n' && text_[start - 1] != '\r') --start;
  std::size_t end = text_.find_first_of("\r\n", first);
  if (end == std::string_view::npos) end = text_.size();
  line = text_.substr(start, end - start);
  lineStart_ = end;
  if (end < text_.size())
    lineStart_ += text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n' ? 2 : 1;
  return true;
}

}  // namespace content
