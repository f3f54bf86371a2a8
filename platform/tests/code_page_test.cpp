#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace platform {
namespace {

struct ConversionRow {
  const char* name;
  std::string utf8;
  std::string engine;
  std::u16string utf16;
};

const ConversionRow kConversions[] = {
    {"empty", "", "", u""},
    {"ascii", "Report 2024.txt", "Report 2024.txt", u"Report 2024.txt"},
    {"gbk_chinese", "中文.txt", "\xD6\xD0\xCE\xC4.txt", u"中文.txt"},
    {"trail_bytes_are_letters", "丄丅", "\x81\x41\x81\x42", u"丄丅"},
    {"latin_two_byte", "é", "\xA8\xA6", u"é"},
    {"latin_four_byte", "À", "\x81\x30\x86\x38", u"À"},
    {"euro_sign", "€", "\xA2\xE3", u"€"},
    {"cjk_extension_b", "𠀀", "\x95\x32\x82\x36", u"𠀀"},
    {"emoji_between_ascii", "a😀b",
     "a\x94\x39\xFC\x36"
     "b",
     u"a😀b"},
};

TEST(CodePageTest, ConvertsBothWays) {
  for (const ConversionRow& row : kConversions) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Utf8ToEngine(row.utf8), row.engine);
    EXPECT_EQ(EngineToUtf8(row.engine), row.utf8);
    EXPECT_EQ(Utf16ToEngine(row.utf16), row.engine);
    EXPECT_EQ(EngineToUtf16(row.engine), row.utf16);
    EXPECT_EQ(EngineToUtf8Escaped(row.engine), row.utf8);
  }
}

TEST(CodePageTest, TextThatDoesNotConvertBecomesTheSubstitute) {
  // Invalid UTF-8 is read as U+FFFD, which the engine code page holds.
  EXPECT_EQ(Utf8ToEngine("a\xC3"), "a\x84\x31\xA4\x37");
  // An unpaired surrogate has no character at all: the converter's substitute byte.
  EXPECT_EQ(Utf16ToEngine(std::u16string(u"a") + char16_t(0xD800)), "a\x1A");
  EXPECT_EQ(EngineToUtf8("a\xFF"), "a\xEF\xBF\xBD");
  EXPECT_EQ(EngineToUtf16("\x81"), u"\uFFFD");
}

struct EscapeRow {
  const char* name;
  std::string engine;
  std::string expected;
};

const EscapeRow kEscapes[] = {
    {"byte_that_is_never_a_character",
     "a\xFF"
     "b",
     "a\\xFFb"},
    {"byte_0x80", "\x80", "\\x80"},
    {"lead_cut_off_by_the_end", "\xD6\xD0\xD6", "中\\xD6"},
    {"lead_before_an_ascii_quote", "\x81\"x", "\\x81\"x"},
    {"lead_before_a_control_byte", "\x81\x7F", "\\x81\x7F"},
    {"four_byte_form_with_a_bad_third_byte", "\x81\x30\x41\x42", "\\x810AB"},
    {"four_byte_form_cut_off", "\x81\x30\x81", "\\x810\\x81"},
    {"unassigned_four_byte_code_escaped_whole", "\x84\x32\x81\x30", "\\x84\\x32\\x81\\x30"},
    {"beyond_the_last_code_point",
     "\xE3\x32\x9A\x36"
     "z",
     "\\xE3\\x32\\x9A\\x36z"},
    {"valid_text_around_an_invalid_byte", "\xD6\xD0\xFF\xCE\xC4", "中\\xFF文"},
    {"lowercase_hex_is_never_used", "\xAB", "\\xAB"},
};

TEST(CodePageTest, EscapesBytesThatFormNoCharacter) {
  for (const EscapeRow& row : kEscapes) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(EngineToUtf8Escaped(row.engine), row.expected);
  }
}

TEST(CodePageTest, CodePage936IsStrict) {
  EXPECT_EQ(Utf16ToCodePage936(u"体€"), "\xCC\xE5\x80");
  // Outside code page 936: its substitute, where GB18030 has four bytes.
  EXPECT_EQ(Utf16ToCodePage936(u"a𠀀b"), "a?b");
  EXPECT_EQ(Utf16ToCodePage936(u"À"), "?");
  EXPECT_EQ(CodePage936ToUtf16("\xCC\xE5\x80"), u"体€");
  EXPECT_EQ(CodePage936ToUtf16("plain"), u"plain");
}

TEST(CodePageTest, CodePage950IsBig5) {
  EXPECT_EQ(Utf16ToCodePage950(u"中文體"), "\xA4\xA4\xA4\xE5\xC5\xE9");
  EXPECT_EQ(CodePage950ToUtf16("\xA4\xA4\xA4\xE5\xC5\xE9"), u"中文體");
  EXPECT_EQ(Utf16ToCodePage950(u"们😀"), "??");
}

TEST(CodePageTest, EachThreadConvertsWithItsOwnConverter) {
  std::string fromThread;
  std::thread worker([&] { fromThread = Utf8ToEngine("线程"); });
  worker.join();
  EXPECT_EQ(fromThread, "\xCF\xDF\xB3\xCC");
  EXPECT_EQ(Utf8ToEngine("线程"), "\xCF\xDF\xB3\xCC");
}

struct CharLengthRow {
  const char* name;
  std::string text;
  std::size_t pos;
  std::size_t expected;
};

const CharLengthRow kCharLengths[] = {
    {"ascii", "ab", 0, 1},
    {"nul_byte", std::string("\0a", 2), 0, 1},
    {"byte_0x80_is_no_lead", "\x80\x40", 0, 1},
    {"byte_0xff_is_no_lead", "\xFF\x40", 0, 1},
    {"lowest_lead_lowest_trail", "\x81\x40", 0, 2},
    {"trail_0x7e", "\x81\x7E", 0, 2},
    {"trail_0x80", "\x81\x80", 0, 2},
    {"highest_lead_highest_trail", "\xFE\xFE", 0, 2},
    {"trail_is_an_ascii_letter", "\x81\x41", 0, 2},
    {"second_of_two_characters", "\xD6\xD0\xCE\xC4", 2, 2},
    {"lead_at_the_end", "a\xD6", 1, 1},
    {"invalid_trail_0x7f_still_pairs", "\x81\x7F", 0, 2},
    {"invalid_trail_0xff_still_pairs", "\x81\xFF", 0, 2},
    {"invalid_trail_control_byte_still_pairs", "\x81\x0A", 0, 2},
    {"four_byte", "\x81\x30\x81\x30", 0, 4},
    {"four_byte_highest", "\xFE\x39\xFE\x39", 0, 4},
    {"four_byte_supplementary", "x\x95\x32\x82\x36", 1, 4},
    {"four_byte_cut_after_two", "\x81\x30", 0, 1},
    {"four_byte_cut_after_three", "\x81\x30\x81", 0, 1},
    {"four_byte_bad_third_byte", "\x81\x30\x30\x30", 0, 2},
    {"four_byte_bad_fourth_byte", "\x81\x30\x81\x40", 0, 2},
    {"second_byte_just_below_digits", "\x81\x2F\x81\x30", 0, 2},
    {"second_byte_just_above_digits", "\x81\x3A\x81\x30", 0, 2},
    {"at_the_end", "ab", 2, 0},
    {"past_the_end", "ab", 5, 0},
};

TEST(CodePageTest, CharLengthAtEveryEdge) {
  for (const CharLengthRow& row : kCharLengths) {
    SCOPED_TRACE(row.name);
    const std::size_t length = CharLength(row.text, row.pos);
    EXPECT_EQ(length, row.expected);
    EXPECT_LE(row.pos + length, std::max(row.pos, row.text.size()));
  }
}

}  // namespace
}  // namespace platform
