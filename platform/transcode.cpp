#include "platform/transcode.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/code_page.h"

namespace platform {
namespace {

constexpr unsigned kTrailSlots = 0xFE - 0x40 + 1;  // 191 trail slots (0x7F unused)
constexpr unsigned kLeadCount = 0xFE - 0x81 + 1;   // 126 lead bytes
// Four-byte codes are numbered linearly from 81 30 81 30. The first kFourByteBmpCount are
// the BMP characters beyond ASCII that have no two-byte code; from kFirstSupplementary on
// they are U+10000 onwards, in code point order; the others are no characters.
constexpr std::uint32_t kFourByteBmpCount = 39420;
constexpr std::uint32_t kFirstSupplementary = 189000;
constexpr std::uint32_t kLastSupplementary = kFirstSupplementary + 0xFFFFF;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// A character's bytes in a table entry, written out four at a time: only the first
// `length` count. What the length is kept in depends on the table.
using Packed = std::array<char, 4>;

bool IsLead(unsigned c) { return c >= 0x81 && c <= 0xFE; }
bool IsDigit(unsigned c) { return c >= 0x30 && c <= 0x39; }
bool IsTwoByteTrail(unsigned c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }
bool IsContinuation(unsigned c) { return (c & 0xC0) == 0x80; }

std::size_t TwoByteIndex(unsigned lead, unsigned trail) {
  return (lead - 0x81) * kTrailSlots + (trail - 0x40);
}

std::uint32_t FourByteLinear(const unsigned char* p) {
  return (((p[0] - 0x81u) * 10 + (p[1] - 0x30u)) * 126 + (p[2] - 0x81u)) * 10 + (p[3] - 0x30u);
}

Packed FourByteCode(std::uint32_t linear) {
  Packed code;
  code[3] = static_cast<char>(0x30 + linear % 10);
  linear /= 10;
  code[2] = static_cast<char>(0x81 + linear % 126);
  linear /= 126;
  code[1] = static_cast<char>(0x30 + linear % 10);
  code[0] = static_cast<char>(0x81 + linear / 10);
  return code;
}

// Writes the UTF-8 form of `c`, not ASCII, at `o`; returns the end.
char* PutUtf8(char* o, char32_t c) {
  if (c < 0x800) {
    o[0] = static_cast<char>(0xC0 | (c >> 6));
    o[1] = static_cast<char>(0x80 | (c & 0x3F));
    return o + 2;
  }
  if (c < 0x10000) {
    o[0] = static_cast<char>(0xE0 | (c >> 12));
    o[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    o[2] = static_cast<char>(0x80 | (c & 0x3F));
    return o + 3;
  }
  o[0] = static_cast<char>(0xF0 | (c >> 18));
  o[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  o[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  o[3] = static_cast<char>(0x80 | (c & 0x3F));
  return o + 4;
}

// The BMP character of each code of `width` bytes in `codes`, 0 for a code that gives
// none, from one ICU conversion of them all; should that not give one unit per code,
// each code is converted alone. ICU's substitutes (U+001A, U+FFFD) mark a code it does
// not map, unless the code is the one of U+FFFD itself; no multi-byte code maps to an
// ASCII character or half a pair.
std::vector<char16_t> DecodeEach(const std::string& codes, std::size_t width) {
  const std::size_t count = codes.size() / width;
  std::vector<char16_t> units(count);
  const std::u16string decoded = EngineToUtf16(codes);
  const bool oneUnitEach = decoded.size() == count;
  const std::string replacementCode = Utf16ToEngine(u"\uFFFD");
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view code = std::string_view(codes).substr(i * width, width);
    const std::u16string alone = oneUnitEach ? std::u16string(1, decoded[i]) : EngineToUtf16(code);
    if (alone.size() != 1) continue;
    const char16_t u = alone[0];
    if (u < 0x80 || (u >= 0xD800 && u <= 0xDFFF) || (u == 0xFFFD && code != replacementCode))
      continue;
    units[i] = u;
  }
  return units;
}

// The tables of the GB18030 to UTF-8 direction.
class ToUtf8Tables {
 public:
  ToUtf8Tables() {
    std::string codes;
    codes.reserve(kLeadCount * kTrailSlots * 2);
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        codes += static_cast<char>(lead);
        // 0x7F is no trail: its slot gets a valid code whose entry is never read.
        codes += static_cast<char>(trail == 0x7F ? 0x40 : trail);
      }
    const std::vector<char16_t> twoByte = DecodeEach(codes, 2);
    for (std::size_t i = 0; i < twoByte.size(); ++i) {
      if (twoByte[i] == 0) continue;
      Packed& entry = twoByte_[i];
      entry[3] = static_cast<char>(PutUtf8(entry.data(), twoByte[i]) - entry.data());
    }
    codes.clear();
    codes.reserve(kFourByteBmpCount * 4);
    for (std::uint32_t linear = 0; linear < kFourByteBmpCount; ++linear) {
      const Packed code = FourByteCode(linear);
      codes.append(code.data(), code.size());
    }
    fourByteBmp_ = DecodeEach(codes, 4);
  }

  // Bytes 0-2: the UTF-8 form of the two-byte character, byte 3 its length; 0 when the
  // code is no character.
  const Packed& TwoByte(unsigned lead, unsigned trail) const {
    return twoByte_[TwoByteIndex(lead, trail)];
  }
  // The character of a four-byte code in the BMP part; 0 when the code is none.
  char16_t FourByteBmp(std::uint32_t linear) const { return fourByteBmp_[linear]; }

 private:
  std::vector<Packed> twoByte_ = std::vector<Packed>(kLeadCount * kTrailSlots, Packed{});
  std::vector<char16_t> fourByteBmp_;
};

// The table of the UTF-8 to GB18030 direction: the GB18030 code of every BMP character
// beyond ASCII, two or four bytes, told apart by the second byte (a trail from 0x40 on,
// or a digit); the first byte is 0 for a character without a code.
class ToGb18030Table {
 public:
  ToGb18030Table() {
    std::u16string units;
    units.reserve(0x10000);
    for (char32_t c = 0x80; c <= 0xFFFF; ++c)
      if (c < 0xD800 || c > 0xDFFF) units += static_cast<char16_t>(c);
    const std::string encoded = Utf16ToEngine(units);
    // ICU writes a one-byte substitute for a character it cannot map, so each unit gives
    // one character and the codes are found by walking them; if not, one unit at a time.
    std::vector<std::string_view> codes;
    codes.reserve(units.size());
    for (std::size_t pos = 0; pos < encoded.size();) {
      const std::size_t length = CharLength(encoded, pos);
      codes.push_back(std::string_view(encoded).substr(pos, length));
      pos += length;
    }
    const bool oneCodeEach = codes.size() == units.size();
    for (std::size_t i = 0; i < units.size(); ++i) {
      const std::string alone =
          oneCodeEach ? std::string(codes[i]) : Utf16ToEngine(std::u16string_view(&units[i], 1));
      if ((alone.size() == 2 || alone.size() == 4) && CharLength(alone, 0) == alone.size())
        alone.copy(bmp_[units[i]].data(), alone.size());
    }
  }

  const Packed& Code(char16_t c) const { return bmp_[c]; }
  static std::size_t Length(const Packed& code) {
    return static_cast<unsigned char>(code[1]) < 0x40 ? 4 : 2;
  }

 private:
  std::vector<Packed> bmp_ = std::vector<Packed>(0x10000, Packed{});
};

// Made on first use in each thread, as the ICU converters they are made with are.
thread_local std::unique_ptr<const ToUtf8Tables> tToUtf8;
thread_local std::unique_ptr<const ToGb18030Table> tToGb18030;

const ToUtf8Tables& ToUtf8() {
  if (!tToUtf8) tToUtf8 = std::make_unique<const ToUtf8Tables>();
  return *tToUtf8;
}

const ToGb18030Table& ToGb18030() {
  if (!tToGb18030) tToGb18030 = std::make_unique<const ToGb18030Table>();
  return *tToGb18030;
}

bool EightAscii(const unsigned char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return (word & kHighBits) == 0;
}

// Copies the ASCII at `p` to `o`, eight bytes at a time where it can, both moved on;
// false, nothing copied, at a byte beyond ASCII. ASCII is the same in both encodings.
bool CopyAscii(const unsigned char*& p, const unsigned char* end, char*& o) {
  if (end - p >= 8 && EightAscii(p)) {
    std::memcpy(o, p, 8);
    p += 8;
    o += 8;
    return true;
  }
  if (*p >= 0x80) return false;
  *o++ = static_cast<char>(*p++);
  return true;
}

// `out` grown by room for `bytes` and a few bytes of slack, as entries are written four
// bytes at a time.
char* MakeRoom(std::string& out, std::size_t bytes) {
  const std::size_t start = out.size();
  out.resize(start + bytes + 4);
  return out.data() + start;
}

}  // namespace

std::size_t AsciiLength(std::string_view text) {
  const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = begin + text.size();
  const auto* p = begin;
  while (end - p >= 8 && EightAscii(p)) p += 8;
  while (p < end && *p < 0x80) ++p;
  return static_cast<std::size_t>(p - begin);
}

bool Gb18030ToUtf8(std::string_view gb18030, std::string& out) {
  const ToUtf8Tables& tables = ToUtf8();
  const auto* p = reinterpret_cast<const unsigned char*>(gb18030.data());
  const auto* const end = p + gb18030.size();
  // No character grows by more than half: two bytes give at most three.
  char* o = MakeRoom(out, gb18030.size() + gb18030.size() / 2);
  while (p < end) {
    if (CopyAscii(p, end, o)) continue;
    const unsigned c = *p;
    if (!IsLead(c) || end - p < 2) break;
    if (IsTwoByteTrail(p[1])) {
      // Chinese text is long runs of two-byte characters: they are taken in one loop.
      bool known = true;
      do {
        const Packed& utf8 = tables.TwoByte(p[0], p[1]);
        known = utf8[3] != 0;
        std::memcpy(o, utf8.data(), utf8.size());
        o += utf8[3];
        p += 2;
      } while (known && end - p >= 2 && IsLead(p[0]) && IsTwoByteTrail(p[1]));
      if (!known) {
        p -= 2;
        break;
      }
      continue;
    }
    if (end - p < 4 || !IsDigit(p[1]) || !IsLead(p[2]) || !IsDigit(p[3])) break;
    const std::uint32_t linear = FourByteLinear(p);
    if (linear < kFourByteBmpCount) {
      const char16_t bmp = tables.FourByteBmp(linear);
      if (bmp == 0) break;
      o = PutUtf8(o, bmp);
    } else if (linear >= kFirstSupplementary && linear <= kLastSupplementary) {
      o = PutUtf8(o, 0x10000 + (linear - kFirstSupplementary));
    } else {
      break;
    }
    p += 4;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return p == end;
}

bool Utf8ToGb18030(std::string_view utf8, std::string& out) {
  const ToGb18030Table& table = ToGb18030();
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* const end = p + utf8.size();
  // A two-byte UTF-8 character may need a four-byte code.
  char* o = MakeRoom(out, utf8.size() * 2);
  while (p < end) {
    if (CopyAscii(p, end, o)) continue;
    const unsigned c = *p;
    const std::ptrdiff_t left = end - p;
    char32_t code;
    if (c >= 0xC2 && c <= 0xDF) {
      if (left < 2 || !IsContinuation(p[1])) break;
      code = ((c & 0x1Fu) << 6) | (p[1] & 0x3Fu);
      p += 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      // No overlong form (E0 needs A0 on), no surrogate (ED stops at 9F).
      const unsigned low = c == 0xE0 ? 0xA0 : 0x80, high = c == 0xED ? 0x9F : 0xBF;
      if (left < 3 || p[1] < low || p[1] > high || !IsContinuation(p[2])) break;
      code = ((c & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
      p += 3;
    } else if (c >= 0xF0 && c <= 0xF4) {
      // No overlong form (F0 needs 90 on), nothing past U+10FFFF (F4 stops at 8F).
      const unsigned low = c == 0xF0 ? 0x90 : 0x80, high = c == 0xF4 ? 0x8F : 0xBF;
      if (left < 4 || p[1] < low || p[1] > high || !IsContinuation(p[2]) || !IsContinuation(p[3]))
        break;
      code = ((c & 0x07u) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
      const Packed gb = FourByteCode(kFirstSupplementary + (code - 0x10000));
      std::memcpy(o, gb.data(), gb.size());
      o += 4;
      p += 4;
      continue;
    } else {
      break;
    }
    const Packed& gb = table.Code(static_cast<char16_t>(code));
    if (gb[0] == 0) {
      p -= code < 0x800 ? 2 : 3;  // the fault is this character
      break;
    }
    std::memcpy(o, gb.data(), gb.size());
    o += ToGb18030Table::Length(gb);
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return p == end;
}

}  // namespace platform
