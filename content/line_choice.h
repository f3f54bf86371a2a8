#pragma once
// The ways the delete, extract and insert-lines pages choose lines besides line numbers:
// every M-th line of each group of N, and lines that hold one of several keywords.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/engine_text.h"

namespace content {

// Groups of fewer than one line have no M-th line: refused before any file is touched.
inline constexpr std::string_view kIntervalBelowOne = "间隔行数必须大于0,请重新输入!";

// Every `groupSize` lines the `position`-th: line i (from 1) is chosen when
// i mod groupSize equals position.
struct LineInterval {
  int groupSize = 2;
  int position = 1;  // 0 .. groupSize - 1 once read
};

// N and M as typed, both read whatever way the page chooses (a text that is not a
// decimal integer throws "'%s' is not a valid integer value"); M below 1 becomes 1,
// then M not below N becomes 0.
LineInterval ReadInterval(std::string_view groupSize, std::string_view position);

// Tells of each line, taken in order, whether its number is chosen by an interval,
// without a division per line. A group of fewer than one line counts as one line.
class IntervalLines {
 public:
  explicit IntervalLines(LineInterval interval)
      : groupSize_(interval.groupSize > 0 ? static_cast<std::size_t>(interval.groupSize) : 1),
        position_(static_cast<std::size_t>(interval.position)) {}
  bool Next() {
    if (++inGroup_ > groupSize_) inGroup_ = 1;
    return (inGroup_ == groupSize_ ? 0 : inGroup_) == position_;  // number mod groupSize
  }

 private:
  std::size_t groupSize_;
  std::size_t position_;
  std::size_t inGroup_ = 0;  // the line's place in its group, from 1
};

// Tells of lines of one text, taken in order (lines may be skipped), whether one of the
// keywords occurs in them: a case-sensitive byte search, an empty keyword matching
// nothing. Each keyword is searched for in the whole text from the line on, and the
// place found serves every line up to it, so a long file is searched once per keyword
// rather than once per line and keyword. The keywords must outlive it.
class KeywordLines {
 public:
  KeywordLines(const std::vector<std::string>& keywords, std::string_view text);
  // `line` is a view into the text, after the line of the previous call.
  bool Holds(std::string_view line);

 private:
  struct Next {
    std::string_view keyword;
    std::size_t at;  // the first place at or after the last search start; npos: none
    bool searched;
  };
  std::string_view text_;
  std::vector<Next> next_;
};

// KeywordLines with letter case ignored as the engine folds it: a keyword occurs in a
// line where the line, lowered, holds the keyword, lowered, starting at a character.
class FoldedKeywordLines {
 public:
  FoldedKeywordLines(const std::vector<std::string>& keywords, std::string_view text);
  bool Holds(std::string_view line);

 private:
  struct Next {
    platform::FoldedNeedle needle;
    std::size_t at;  // as in KeywordLines
    bool searched;
    // A keyword that ends in a cut-off character matches such a character at a line's
    // end, which the whole text reads together with the line break: searched line by line,
    // as are the rare lines whose last bytes the whole text reads otherwise.
    bool byLine;
  };
  std::string_view text_;  // up to the first zero byte
  bool textIsAscii_;
  std::vector<Next> next_;
};

// The lines of a text that hold one of the keywords, in order, found by jumping from
// one place of a keyword to the next rather than by walking every line: for a search
// whose lines are few. Lines are split as the line list splits them and end at the first
// zero byte; the keywords must outlive it.
class LinesHoldingKeywords {
 public:
  LinesHoldingKeywords(const std::vector<std::string>& keywords, std::string_view text);
  // The next such line; false after the last.
  bool Next(std::string_view& line);

 private:
  struct Place {
    std::string_view keyword;
    std::size_t at;  // the first place at or after the search start; npos: none
  };
  std::string_view text_;  // up to the first zero byte
  std::size_t lineStart_ = 0;
  std::vector<Place> next_;
};

}  // namespace content
