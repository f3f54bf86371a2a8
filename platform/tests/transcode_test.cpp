#include "platform/transcode.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/code_page.h"

namespace platform {
namespace {

std::string Code(unsigned linear) {  // the four-byte code numbered `linear` from 81 30 81 30
  const char d = static_cast<char>(0x30 + linear % 10),
             c = static_cast<char>(0x81 + linear / 10 % 126);
  linear /= 1260;
  return {static_cast<char>(0x81 + linear / 10), static_cast<char>(0x30 + linear % 10), c, d};
}

// Every two-byte code, every four-byte code of the BMP part and every supplementary one:
// each character of Unicode beyond ASCII, converted both ways as ICU converts it.
TEST(Transcode, EveryCharacterAsIcuConvertsIt) {
  std::string twoByte, fourByte, supplementary;
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    for (int trail = 0x40; trail <= 0xFE; ++trail)
      if (trail != 0x7F) twoByte += {static_cast<char>(lead), static_cast<char>(trail)};
  for (unsigned linear = 0; linear <= 39419; ++linear) fourByte += Code(linear);
  for (unsigned linear = 189000; linear <= 189000 + 0xFFFFF; ++linear)
    supplementary += Code(linear);
  for (const std::string& gb : {twoByte, fourByte, supplementary}) {
    std::string utf8, back;
    EXPECT_TRUE(Gb18030ToUtf8(gb, utf8));
    EXPECT_TRUE(utf8 == EngineToUtf8(gb));
    EXPECT_TRUE(Utf8ToGb18030(utf8, back));
    EXPECT_TRUE(back == gb);
  }
}

// Random texts of ASCII runs (across the word boundaries of the fast path), codes of every
// length and stray bytes: converted exactly when ICU would convert them without a
// substitute (a GB18030 text then comes back from UTF-8 as it was), and then as ICU does.
TEST(Transcode, RandomTextsAgreeWithIcuAndFailWhereItWouldSubstitute) {
  std::mt19937 random(7);
  const auto byte = [&](int low, int high) {
    return static_cast<char>(low +
                             static_cast<int>(random() % static_cast<unsigned>(high - low + 1)));
  };
  const auto piece = [&]() -> std::string {
    switch (random() % 5) {
      case 0:
        return std::string(random() % 20, byte(0x01, 0x7F));
      case 1:
        return {byte(0x81, 0xFE), byte(0x40, 0xFE)};  // 0x7F as trail now and then
      case 2:
        return Code(random() % 40000);  // the BMP part, and a little past
      case 3:
        return {byte(0x85, 0xFE), byte(0x30, 0x39), byte(0x81, 0xFE), byte(0x30, 0x39)};
      default:
        return std::string(1, byte(0x80, 0xFF));
    }
  };
  for (int round = 0; round < 4000; ++round) {
    SCOPED_TRACE(round);
    std::string gb, utf8 = "kept";  // the conversions append
    for (int i = static_cast<int>(random() % 12); i > 0; --i) gb += piece();
    const bool converted = Gb18030ToUtf8(gb, utf8);
    const bool icu = Utf8ToEngine(EngineToUtf8(gb)) == gb;
    EXPECT_EQ(converted, icu);
    if (!converted) continue;
    EXPECT_EQ(utf8, "kept" + EngineToUtf8(gb));
    // The same text as UTF-8 with a stray byte put in now and then.
    utf8.erase(0, 4);
    if (random() % 2 == 0) utf8.insert(random() % (utf8.size() + 1), 1, byte(0x80, 0xFF));
    std::string back;
    EXPECT_EQ(Utf8ToGb18030(utf8, back), IsUtf8(utf8));
    if (IsUtf8(utf8)) {
      EXPECT_EQ(back, Utf8ToEngine(utf8));
    }
  }
}

TEST(Transcode, AFaultKeepsTheCharactersBeforeIt) {
  struct Case {
    bool fromUtf8;
    const char* bytes;
    const char* before;  // the conversion of the characters before the fault
  } const cases[] = {
      {false, "ab\xD6\xD0\x80x", "ab\xE4\xB8\xAD"},  // a lone 0x80
      {false, "abcdefgh\xFF", "abcdefgh"},
      {false, "\xD6\xD0\xD6\n", "\xE4\xB8\xAD"},   // a lead before a control byte
      {false, "a\x81\x30\x81", "a"},               // a four-byte code cut off
      {false, "a\x84\x31\xA5\x30", "a"},           // past the BMP part
      {false, "a\xE3\x32\x9A\x36", "a"},           // past U+10FFFF
      {true, "ab\xE4\xB8\xAD\x80", "ab\xD6\xD0"},  // a stray continuation byte
      {true, "a\xC1\xBF", "a"},                    // overlong
      {true, "a\xE0\x9F\xBF", "a"},                // overlong
      {true, "a\xED\xA0\x80", "a"},                // a surrogate
      {true, "a\xF4\x90\x80\x80", "a"},            // past U+10FFFF
      {true, "abcdefgh\xF8\x88\x80\x80\x80", "abcdefgh"},
      {true, "a\xE4\xB8", "a"},  // cut off
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    std::string out;
    EXPECT_FALSE(c.fromUtf8 ? Utf8ToGb18030(c.bytes, out) : Gb18030ToUtf8(c.bytes, out));
    EXPECT_EQ(out, c.before);
  }
}

TEST(Transcode, AsciiLength) {
  EXPECT_EQ(AsciiLength(""), 0u);
  EXPECT_EQ(AsciiLength("abcdefghijklmnopq"), 17u);
  EXPECT_EQ(AsciiLength("abcdefgh\x80"), 8u);
  EXPECT_EQ(AsciiLength("abcdefg\x80zzzzzzzz"), 7u);
  EXPECT_EQ(AsciiLength(std::string("a\0b", 3)), 3u);
}

}  // namespace
}  // namespace platform
