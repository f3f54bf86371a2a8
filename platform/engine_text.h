#pragma once
// Helpers on engine text (GB18030 bytes, see code_page.h) that respect characters:
// a trail byte is never changed and a match never starts inside a character.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Unicode lower-casing of every character (ASCII fast path; full-width Latin folds too).
std::string ToLower(std::string_view text);
// ToLower into `out`, whose memory is reused.
void LowerInto(std::string_view text, std::string& out);

// Removes bytes 0x01-0x20 (blanks and control characters) at both ends. A NUL byte
// counts as a control character too.
std::string_view TrimBlanks(std::string_view text);
// Removes only spaces (0x20) at both ends.
std::string_view TrimSpaces(std::string_view text);

// 0-based byte position of the first byte `c` at or after `from` (a character boundary)
// that is a character of its own, stepping over whole characters: the second byte of a
// double-byte character may equal `c` ("}" is 0x7D). npos when there is none.
std::size_t FindChar(std::string_view text, char c, std::size_t from = 0);

// 0-based byte position of the first occurrence of `needle` at or after `from`, letter
// case ignored, starting only at character boundaries; npos when absent or empty.
std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from = 0);

// Every occurrence of `from` replaced by `to`, letter case ignored, left to right and
// never overlapping. An empty `from` changes nothing.
std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to);

// The pieces of `text` around the occurrences that ReplaceAllNoCase replaces: n
// occurrences give n + 1 pieces (one piece, the whole text, for an empty `from`).
std::vector<std::string_view> SplitAtNoCase(std::string_view text, std::string_view from);

bool EqualsNoCase(std::string_view a, std::string_view b);

// One character of engine text lower-cased, for matchers that compare character by
// character: the lowered bytes (a character may change length when lowered) and the
// length of the character in the source text (CharLength). Bytes that form no
// character are kept as they are. Eight bytes, so that it travels in one register.
struct alignas(8) FoldedChar {
  char bytes[4] = {};
  std::uint8_t size = 0;
  std::uint8_t sourceLength = 0;
};
// `pos` must be a character boundary inside `text`.
FoldedChar FoldCharAt(std::string_view text, std::size_t pos);

inline bool SameFolded(const FoldedChar& a, const FoldedChar& b) {
  return a.size == b.size && std::memcmp(a.bytes, b.bytes, a.size) == 0;
}

// A needle lowered once, for finding it in many texts: what FindNoCase and
// ReplaceAllNoCase do, without lowering the needle again for every text.
class FoldedNeedle {
 public:
  explicit FoldedNeedle(std::string_view needle);
  std::string_view text() const { return needle_; }
  std::size_t Find(std::string_view text, std::size_t from = 0) const;
  // ReplaceAllNoCase into `out`, whose memory is reused; false, with `out` untouched,
  // when the text holds no occurrence.
  bool ReplaceAll(std::string_view text, std::string_view to, std::string& out) const;

  struct Match {
    std::size_t start, end;  // npos, npos: none
  };
  // The first occurrence at or after `pos`, a character boundary.
  Match Next(std::string_view text, std::size_t pos) const;
  // The same, for a caller that searches one text many times and knows whether it is all
  // ASCII (IsAscii): Next itself would look at the whole text again on every call.
  Match Next(std::string_view text, std::size_t pos, bool textIsAscii) const;

 private:
  std::string needle_;
  std::vector<FoldedChar> folded_;
  // The first place at or after `from` where the text shows the needle's prefix, in
  // any letter case; it may start inside a character. npos when there is none.
  std::size_t FindPrefix(std::string_view text, std::size_t from) const;

  bool ascii_ = true;
  char firstByte_ = 0;  // the needle's first byte when it can be searched for as a byte
  // The first bytes of the needle that every occurrence shows as they are or, where
  // prefixLetter_ says so, with the other letter case: its first characters while they
  // are ASCII letters, whose only other form is the other ASCII case, or characters with
  // no letter case at all. Candidates found by these bytes, many at a time, spare a long
  // text the lowering of every character.
  char prefix_[4] = {};
  bool prefixLetter_[4] = {};
  std::uint8_t prefixSize_ = 0;
};

}  // namespace platform
