#include "platform/engine_text.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <bit>
#include <cstring>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/ascii.h"
#include "platform/code_page.h"

namespace platform {
namespace {

constexpr unsigned kLeadCount = 0xFE - 0x81 + 1;   // 126 lead bytes
constexpr unsigned kTrailCount = 0xFE - 0x40 + 1;  // 191 trail slots (0x7F unused)

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTwoByteTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// The code point of one engine character; none when the bytes are not one character.
std::optional<UChar32> CodePointOf(std::string_view character) {
  const std::u16string utf16 = EngineToUtf16(character);
  if (utf16.size() == 1) return utf16[0];
  if (utf16.size() == 2 && U16_IS_LEAD(utf16[0]) && U16_IS_TRAIL(utf16[1]))
    return U16_GET_SUPPLEMENTARY(utf16[0], utf16[1]);
  return std::nullopt;
}

// Decodes one multi-byte character, lowers it and re-encodes it when it changed.
void FoldThroughIcu(FoldedChar& f) {
  const std::optional<UChar32> code = CodePointOf(std::string_view(f.bytes, f.sourceLength));
  if (!code) return;
  const UChar32 c = *code;
  const UChar32 lower = u_tolower(c);
  if (lower == c) return;
  std::u16string lowered;
  if (U_IS_BMP(lower)) {
    lowered += static_cast<char16_t>(lower);
  } else {
    lowered += static_cast<char16_t>(U16_LEAD(lower));
    lowered += static_cast<char16_t>(U16_TRAIL(lower));
  }
  const std::string encoded = Utf16ToEngine(lowered);
  if (encoded.empty() || encoded.size() > sizeof f.bytes) return;
  encoded.copy(f.bytes, encoded.size());
  f.size = static_cast<std::uint8_t>(encoded.size());
}

// The lowered form of every two-byte character that has one. Decoding a character
// through ICU costs about a hundred times a table look-up, and long Chinese texts are
// mostly two-byte characters, of which only a few hundred (full-width Latin, Greek,
// Cyrillic, Roman numerals) have a lower case. Built per thread on first use, from one
// conversion of all two-byte codes, as the ICU converters behind it are per thread.
class TwoByteCaseTable {
 public:
  TwoByteCaseTable() {
    std::string codes;
    codes.reserve(kLeadCount * kTrailCount * 2);
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        codes += static_cast<char>(lead);
        codes += static_cast<char>(trail);
      }
    const std::u16string decoded = EngineToUtf16(codes);
    // Each code is one BMP character; should a converter say otherwise, ask per code.
    const bool oneUnitEach = decoded.size() * 2 == codes.size();
    for (std::size_t i = 0; i * 2 < codes.size(); ++i) {
      if (oneUnitEach && u_tolower(decoded[i]) == static_cast<UChar32>(decoded[i])) continue;
      FoldedChar f;
      f.size = f.sourceLength = 2;
      codes.copy(f.bytes, 2, 2 * i);
      FoldThroughIcu(f);
      if (f.size == 2 && f.bytes[0] == codes[2 * i] && f.bytes[1] == codes[2 * i + 1]) continue;
      lowered_.push_back(f);
      slots_[Index(static_cast<unsigned char>(codes[2 * i]),
                   static_cast<unsigned char>(codes[2 * i + 1]))] =
          static_cast<std::uint16_t>(lowered_.size());
    }
  }

  // The character lowered; `lead` and `trail` must form a two-byte character.
  FoldedChar Fold(unsigned char lead, unsigned char trail) const {
    const std::uint16_t slot = slots_[Index(lead, trail)];
    if (slot != 0) return lowered_[slot - 1u];
    return FoldedChar{{static_cast<char>(lead), static_cast<char>(trail)}, 2, 2};
  }

 private:
  static std::size_t Index(unsigned char lead, unsigned char trail) {
    return (lead - 0x81u) * kTrailCount + (trail - 0x40u);
  }

  std::vector<std::uint16_t> slots_ = std::vector<std::uint16_t>(kLeadCount * kTrailCount);
  std::vector<FoldedChar> lowered_;  // slot - 1
};

thread_local const TwoByteCaseTable tCaseTable;

const TwoByteCaseTable& CaseTable() { return tCaseTable; }

// FoldCharAt with the table fetched once by the caller, for loops over long texts.
FoldedChar FoldAt(const TwoByteCaseTable& table, std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return FoldedChar{{AsciiLower(static_cast<char>(lead))}, 1, 1};
  if (IsLead(lead) && pos + 1 < text.size()) {
    const auto trail = static_cast<unsigned char>(text[pos + 1]);
    if (IsTwoByteTrail(trail)) return table.Fold(lead, trail);
  }
  // Four-byte characters, and bytes that form none, which stay as they are.
  FoldedChar f;
  f.sourceLength = static_cast<std::uint8_t>(CharLength(text, pos));
  f.size = f.sourceLength;
  text.copy(f.bytes, f.sourceLength, pos);
  if (f.sourceLength == 4) FoldThroughIcu(f);
  return f;
}

bool AllAscii(std::string_view a, std::string_view b) { return IsAscii(a) && IsAscii(b); }

bool AsciiEqualAt(std::string_view text, std::size_t pos, std::string_view needle) {
  for (std::size_t i = 0; i < needle.size(); ++i)
    if (AsciiLower(text[pos + i]) != AsciiLower(needle[i])) return false;
  return true;
}

// End of the match of `needle` whose first character is `first`, the character of the
// text at `pos`; npos when the text does not go on as the needle does.
std::size_t MatchEnd(const TwoByteCaseTable& table, std::string_view text, std::size_t pos,
                     const FoldedChar& first, const std::vector<FoldedChar>& needle) {
  if (!SameFolded(first, needle.front())) return std::string_view::npos;
  pos += first.sourceLength;
  for (std::size_t i = 1; i < needle.size(); ++i) {
    if (pos >= text.size()) return std::string_view::npos;
    const FoldedChar have = FoldAt(table, text, pos);
    if (!SameFolded(have, needle[i])) return std::string_view::npos;
    pos += have.sourceLength;
  }
  return pos;
}

// The first place at or after the character boundary `from` where the ASCII byte `c`
// is a character of its own. It jumps from byte to byte of that value and makes sure each
// starts a character: one after a byte up to 0x80 always does (no lead byte comes before
// it); otherwise the characters are walked from the last start known.
std::size_t FindAsciiChar(std::string_view text, char c, std::size_t from) {
  std::size_t boundary = from;
  for (std::size_t pos = from; pos < text.size();) {
    const void* hit = std::memchr(text.data() + pos, c, text.size() - pos);
    if (hit == nullptr) break;
    const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    if (at == boundary || static_cast<unsigned char>(text[at - 1]) <= 0x80) return at;
    while (boundary < at) boundary += CharLength(text, boundary);
    if (boundary == at) return at;
    pos = at + 1;
  }
  return std::string_view::npos;
}

// Bytes after which a character always starts: they are no lead byte, no trail byte and
// no digit of a four-byte character, so they end whatever character they belong to.
bool EndsCharacter(unsigned char c) { return c <= 0x2F || (c >= 0x3A && c <= 0x3F) || c == 0x7F; }

// Whether `at` starts a character, `boundary` (at most `at` on the first call) being a
// character start known before; `boundary` moves on to the last start found, for the
// next, later place.
bool StartsCharacter(std::string_view text, std::size_t at, std::size_t& boundary) {
  if (at < boundary) return false;  // inside the character that ends at `boundary`
  if (at == boundary) return true;
  const auto before = static_cast<unsigned char>(text[at - 1]);
  // A byte below 0x81 is no lead byte, and unless it is a digit it is no part of a
  // four-byte character that goes on: it ends its character.
  if (before <= 0x80 && !(before >= 0x30 && before <= 0x39)) {
    boundary = at;
    return true;
  }
  std::size_t start = at;
  while (start > boundary && !EndsCharacter(static_cast<unsigned char>(text[start - 1]))) --start;
  while (start < at) start += CharLength(text, start);
  boundary = start;
  return start == at;
}

// Whether a character has letter case: one without it is the lowered form of no other.
bool HasLetterCase(std::string_view character) {
  const std::optional<UChar32> c = CodePointOf(character);
  return !c || u_hasBinaryProperty(*c, UCHAR_CASED) || u_tolower(*c) != *c;
}

}  // namespace

FoldedChar FoldCharAt(std::string_view text, std::size_t pos) {
  return FoldAt(CaseTable(), text, pos);
}

void LowerInto(std::string_view text, std::string& out) {
  out.clear();
  if (IsAscii(text)) {
    out.append(text);
    for (char& c : out) c = AsciiLower(c);
    return;
  }
  const TwoByteCaseTable& table = CaseTable();
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const char c = text[pos];
    if (static_cast<unsigned char>(c) < 0x80) {
      out += AsciiLower(c);
      ++pos;
      continue;
    }
    const FoldedChar f = FoldAt(table, text, pos);
    out.append(f.bytes, f.size);
    pos += f.sourceLength;
  }
}

std::string ToLower(std::string_view text) {
  std::string out;
  LowerInto(text, out);
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::size_t FindChar(std::string_view text, char c, std::size_t from) {
  if (static_cast<unsigned char>(c) < 0x80) return FindAsciiChar(text, c, from);
  for (std::size_t pos = from; pos < text.size(); pos += CharLength(text, pos))
    if (text[pos] == c) return pos;
  return std::string_view::npos;
}

FoldedNeedle::FoldedNeedle(std::string_view needle) : needle_(needle) {
  const TwoByteCaseTable& table = CaseTable();
  folded_.reserve(needle.size());
  for (std::size_t pos = 0; pos < needle.size();) {
    folded_.push_back(FoldAt(table, needle, pos));
    pos += folded_.back().sourceLength;
  }
  ascii_ = IsAscii(needle);
  // No other character lowers to an ASCII character that is no letter, so such a first
  // character can be looked for as a byte.
  const auto first = needle.empty() ? 0 : static_cast<unsigned char>(needle.front());
  if (first != 0 && first < 0x80 && !IsAsciiLetter(static_cast<char>(first)))
    firstByte_ = static_cast<char>(first);
  for (std::size_t pos = 0; pos < needle.size();) {
    const std::size_t length = CharLength(needle, pos);
    if (prefixSize_ + length > sizeof prefix_) break;
    const char c = needle[pos];
    if (length == 1 && static_cast<unsigned char>(c) < 0x80) {
      // The dotless and Kelvin forms of i and k lower to ASCII letters too.
      const char lower = AsciiLower(c);
      if (lower == 'i' || lower == 'k') break;
      prefixLetter_[prefixSize_] = IsAsciiLetter(c);
      prefix_[prefixSize_++] = lower;
    } else if (length >= 2 && !HasLetterCase(needle.substr(pos, length))) {
      needle.copy(prefix_ + prefixSize_, length, pos);
      prefixSize_ = static_cast<std::uint8_t>(prefixSize_ + length);
    } else {
      break;
    }
    pos += length;
  }
}

std::size_t FoldedNeedle::FindPrefix(std::string_view text, std::size_t from) const {
  const std::size_t size = prefixSize_;
  if (from > text.size() || text.size() - from < size) return std::string_view::npos;
  const char* const data = text.data();
  const std::size_t last = text.size() - size;  // the last place a prefix fits
  std::size_t at = from;
#if defined(__SSE2__)
  const __m128i caseBit = _mm_set1_epi8(0x20);
  for (; at + 16 <= last + 1; at += 16) {
    unsigned hits = 0xFFFF;
    for (std::size_t k = 0; k < size && hits != 0; ++k) {
      __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + k));
      if (prefixLetter_[k]) bytes = _mm_or_si128(bytes, caseBit);
      hits &= static_cast<unsigned>(
          _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(prefix_[k]))));
    }
    if (hits != 0) return at + static_cast<std::size_t>(std::countr_zero(hits));
  }
#endif
  for (; at <= last; ++at) {
    std::size_t k = 0;
    while (k < size &&
           (prefixLetter_[k] ? static_cast<char>(data[at + k] | 0x20) : data[at + k]) == prefix_[k])
      ++k;
    if (k == size) return at;
  }
  return std::string_view::npos;
}

FoldedNeedle::Match FoldedNeedle::Next(std::string_view text, std::size_t pos) const {
  return Next(text, pos, ascii_ && IsAscii(text));
}

FoldedNeedle::Match FoldedNeedle::Next(std::string_view text, std::size_t pos,
                                       bool textIsAscii) const {
  constexpr auto npos = std::string_view::npos;
  if (needle_.empty()) return {npos, npos};
  if (ascii_ && textIsAscii) {
    for (; pos + needle_.size() <= text.size(); ++pos)
      if (AsciiEqualAt(text, pos, needle_)) return {pos, pos + needle_.size()};
    return {npos, npos};
  }
  const TwoByteCaseTable& table = CaseTable();
  if (prefixSize_ > 1 || (prefixSize_ == 1 && firstByte_ == 0)) {
    std::size_t boundary = pos;
    for (std::size_t at = FindPrefix(text, pos); at != npos; at = FindPrefix(text, at + 1)) {
      if (!StartsCharacter(text, at, boundary)) continue;
      const std::size_t end = MatchEnd(table, text, at, FoldAt(table, text, at), folded_);
      if (end != npos) return {at, end};
    }
    return {npos, npos};
  }
  if (firstByte_ != 0) {
    for (pos = FindAsciiChar(text, firstByte_, pos); pos != npos;
         pos = FindAsciiChar(text, firstByte_, pos + 1)) {  // a one-byte character
      const std::size_t end = MatchEnd(table, text, pos, FoldAt(table, text, pos), folded_);
      if (end != npos) return {pos, end};
    }
    return {npos, npos};
  }
  while (pos < text.size()) {
    const FoldedChar first = FoldAt(table, text, pos);
    const std::size_t end = MatchEnd(table, text, pos, first, folded_);
    if (end != npos) return {pos, end};
    pos += first.sourceLength;
  }
  return {npos, npos};
}

std::size_t FoldedNeedle::Find(std::string_view text, std::size_t from) const {
  if (from >= text.size()) return std::string_view::npos;
  std::size_t pos = 0;
  if (!(ascii_ && IsAscii(text)))
    while (pos < from) pos += CharLength(text, pos);
  else
    pos = from;
  return Next(text, pos).start;
}

bool FoldedNeedle::ReplaceAll(std::string_view text, std::string_view to, std::string& out) const {
  const bool textIsAscii = ascii_ && IsAscii(text);
  Match match = Next(text, 0, textIsAscii);
  if (match.start == std::string_view::npos) return false;
  out.clear();
  std::size_t start = 0;
  while (match.start != std::string_view::npos) {
    out.append(text.substr(start, match.start - start)).append(to);
    start = match.end;
    match = Next(text, start, textIsAscii);
  }
  out.append(text.substr(start));
  return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from) {
  return FoldedNeedle(needle).Find(text, from);
}

std::vector<std::string_view> SplitAtNoCase(std::string_view text, std::string_view from) {
  const FoldedNeedle needle(from);
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  const bool textIsAscii = IsAscii(text);
  for (auto match = needle.Next(text, 0, textIsAscii); match.start != std::string_view::npos;
       match = needle.Next(text, start, textIsAscii)) {
    pieces.push_back(text.substr(start, match.start - start));
    start = match.end;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  if (!FoldedNeedle(from).ReplaceAll(text, to, out)) out = text;
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (AllAscii(a, b)) return a.size() == b.size() && AsciiEqualAt(a, 0, b);
  const TwoByteCaseTable& table = CaseTable();
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const FoldedChar fa = FoldAt(table, a, i), fb = FoldAt(table, b, j);
    if (!SameFolded(fa, fb)) return false;
    i += fa.sourceLength;
    j += fb.sourceLength;
  }
  return i == a.size() && j == b.size();
}

}  // namespace platform
