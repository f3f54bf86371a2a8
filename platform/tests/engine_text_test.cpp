#include "platform/engine_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr auto npos = std::string_view::npos;

// Engine bytes of the characters the tables use.
const std::string kUpperA = "\x81\x41";           // 丄: trail byte 'A'
const std::string kUpperZ = "\x81\x5A";           // trail byte 'Z'
const std::string kLowerTrailA = "\x81\x61";      // trail byte 'a', another character
const std::string kChinese = "\xD6\xD0\xCE\xC4";  // 中文
const std::string kFullA = "\xA3\xC1", kFullB = "\xA3\xC2", kFullC = "\xA3\xC3";  // ＡＢＣ
const std::string kFullLowerA = "\xA3\xE1", kFullLowerB = "\xA3\xE2", kFullLowerC = "\xA3\xE3";
const std::string kAGrave = "\x81\x30\x86\x38";  // À, four bytes
const std::string kAGraveLower = "\xA8\xA4";     // à, two bytes
const std::string kKelvin = "\x81\x36\xBF\x32";  // KELVIN SIGN, lowers to 'k'
const std::string kAh = "\xB0\xA1";              // 啊
const std::string kZhong = "\xD6\xD0";           // 中

struct LowerRow {
  const char* name;
  std::string text;
  std::string expected;
};

const LowerRow kLowerRows[] = {
    {"ascii", "ABC.Txt", "abc.txt"},
    {"trail_bytes_in_the_letter_range_stay", kUpperA + kUpperZ, kUpperA + kUpperZ},
    {"ascii_around_trail_letters", "X" + kUpperA + "Y", "x" + kUpperA + "y"},
    {"full_width_latin", kFullA + kFullB + kFullC, kFullLowerA + kFullLowerB + kFullLowerC},
    {"greek", "\xA6\xA1\xA6\xA2", "\xA6\xC1\xA6\xC2"},
    {"cyrillic", "\xA7\xA1", "\xA7\xD1"},
    {"roman_numeral", "\xA2\xF1", "\xA2\xA1"},
    {"roman_numeral_eleven_grows_to_four_bytes", "\xA2\xFB", "\x81\x36\xC5\x30"},
    {"four_byte_latin_shrinks_to_two", kAGrave, kAGraveLower},
    {"kelvin_sign_becomes_ascii", kKelvin + "X", "kx"},
    {"dotted_capital_i", "\x81\x30\x90\x32", "i"},
    {"supplementary_plane", "\x90\x30\xE7\x34", "\x90\x30\xEB\x34"},
    {"chinese_unchanged", kChinese, kChinese},
    {"already_lower_full_width", kFullLowerA, kFullLowerA},
    {"byte_that_is_no_character",
     "\xFF"
     "A",
     "\xFF"
     "a"},
    {"lead_with_invalid_trail_kept",
     "\x81\x22"
     "A",
     "\x81\x22"
     "a"},
    {"lead_cut_off_at_the_end", "A\x81", "a\x81"},
    {"unassigned_four_byte_code", "\x84\x32\x81\x30", "\x84\x32\x81\x30"},
};

TEST(EngineTextTest, ToLowerWorksPerCharacter) {
  for (const LowerRow& row : kLowerRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ToLower(row.text), row.expected);
  }
}

struct FindRow {
  const char* name;
  std::string text;
  std::string needle;
  std::size_t from;
  std::size_t expected;
};

const FindRow kFindRows[] = {
    {"ascii", "Hello World", "WORLD", 0, 6},
    {"from_skips_an_earlier_match", "abcabc", "BC", 2, 4},
    {"match_at_from", "abcabc", "bc", 4, 4},
    {"empty_needle", "abc", "", 0, npos},
    {"needle_longer_than_text", "abc", "abcd", 0, npos},
    {"from_at_the_end", "abc", "c", 3, npos},
    {"trail_byte_is_not_a_letter", kUpperA, "a", 0, npos},
    {"trail_byte_is_not_an_upper_letter", kUpperA, "A", 0, npos},
    {"letter_after_a_trail_letter", kUpperA + "a", "A", 0, 2},
    {"full_width", "\xA3\xD8" + kFullA + kFullB, kFullLowerA + kFullLowerB, 0, 2},
    {"never_inside_a_character", kAh + kAh, "\xA1\xB0", 0, npos},
    {"from_inside_a_character", kZhong + "a" + kZhong + "a", "A", 1, 2},
    // A needle that starts with a byte no letter: its places are jumped to, and one
    // inside a character is passed over.
    {"brace_as_a_trail_byte", kAh + "\x81\x7D}X", "}x", 0, 4},
    {"dollar_swallowed_by_a_broken_character", "\x81$1$1", "$1", 0, 3},
    {"dollar_after_ascii", kChinese + "a$1", "$1", 0, 5},
    {"dollar_after_a_trail_byte", kChinese + "$1", "$1", 0, 4},
    {"dollar_from_a_later_place", "$1" + kChinese + "$1", "$1", 1, 6},
    {"dollar_then_folded_letters", kChinese + "${ADD" + kFullA + "}", "${add" + kFullLowerA, 0, 4},
    {"from_inside_the_second_character", kZhong + "a" + kZhong + "a", "A", 4, 5},
    {"four_byte_text_two_byte_needle", "x" + kAGrave + "y", kAGraveLower + "Y", 0, 1},
    {"ascii_needle_finds_kelvin_sign", "a" + kKelvin, "K", 0, 1},
    {"kelvin_needle_finds_ascii", "ak", kKelvin, 0, 1},
    {"chinese", "x" + kChinese, "\xCE\xC4", 0, 3},
};

TEST(EngineTextTest, FindNoCaseStartsAtCharacters) {
  for (const FindRow& row : kFindRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FindNoCase(row.text, row.needle, row.from), row.expected);
  }
}

struct ReplaceRow {
  const char* name;
  std::string text, from, to, expected;
};

const ReplaceRow kReplaceRows[] = {
    {"every_case", "aAa", "a", "b", "bbb"},
    {"left_to_right_not_overlapping", "aaaa", "AA", "x", "xx"},
    {"odd_rest_stays", "aaa", "aa", "x", "xa"},
    {"replacement_holding_the_key_is_not_read_again", "ab", "a", "aa", "aab"},
    {"empty_key_changes_nothing", "abc", "", "x", "abc"},
    {"empty_replacement_deletes", "ABC", "b", "", "AC"},
    {"trail_letter_untouched", kUpperA, "a", "b", kUpperA},
    {"letter_after_trail_letter", kUpperA + "A", "a", "b", kUpperA + "b"},
    {"full_width", kFullA + kFullB + kFullC, kFullLowerB, "x", kFullA + "x" + kFullC},
    {"key_and_text_of_different_lengths", "x" + kAGrave + "y" + kAGraveLower + "z", kAGraveLower,
     "_", "x_y_z"},
    {"never_inside_a_character", kAh + kAh, "\xA1\xB0", "X", kAh + kAh},
    {"greek", "\xA6\xA1\xA6\xA2\xA6\xA3", "\xA6\xC2", "b",
     "\xA6\xA1"
     "b\xA6\xA3"},
    {"invalid_bytes_pass_through",
     "\xFF"
     "a\x81",
     "A", "b",
     "\xFF"
     "b\x81"},
};

// The search of a needle in any text, as plain as it gets: at every character, compare
// the lowered characters one by one.
std::size_t FindByEveryCharacter(std::string_view text, std::string_view needle) {
  if (needle.empty()) return npos;
  std::vector<FoldedChar> folded;
  for (std::size_t pos = 0; pos < needle.size(); pos += folded.back().sourceLength)
    folded.push_back(FoldCharAt(needle, pos));
  for (std::size_t start = 0; start < text.size(); start += FoldCharAt(text, start).sourceLength) {
    std::size_t pos = start;
    bool same = true;
    for (const FoldedChar& c : folded) {
      if (pos >= text.size() || !SameFolded(FoldCharAt(text, pos), c)) {
        same = false;
        break;
      }
      pos += FoldCharAt(text, pos).sourceLength;
    }
    if (same) return start;
  }
  return npos;
}

// The long-text search looks for candidates by bytes, many at a time, and then asks
// whether each starts a character: random texts of letters, digits, trail bytes in the
// letter range, characters of every length and bytes that form none must give what
// comparing at every character gives.
TEST(EngineTextTest, FindNoCaseAgreesWithComparingAtEveryCharacter) {
  const std::string pieces[] = {"a",
                                "A",
                                "e",
                                "E",
                                "r",
                                "k",
                                "K",
                                "i",
                                "0",
                                "1",
                                " ",
                                "=",
                                "\n",
                                kUpperA,
                                kLowerTrailA,
                                kKelvin,
                                "\x81\x30\x90\x32",
                                kZhong,
                                kFullA,
                                kFullLowerA,
                                kAGrave,
                                kAGraveLower,
                                "\x81",
                                "\xC3\xDC",
                                "\xDC\xC3",
                                "\xA3"};
  std::mt19937 random(7);
  const auto piece = [&] { return pieces[random() % std::size(pieces)]; };
  for (int round = 0; round < 3000; ++round) {
    std::string text, needle;
    const int textPieces = static_cast<int>(random() % 60);
    for (int i = 0; i < textPieces; ++i) text += piece();
    const int needlePieces = 1 + static_cast<int>(random() % 3);
    for (int i = 0; i < needlePieces; ++i) needle += piece();
    SCOPED_TRACE(testing::PrintToString(text) + " / " + testing::PrintToString(needle));
    ASSERT_EQ(FindNoCase(text, needle), FindByEveryCharacter(text, needle));
  }
}

TEST(EngineTextTest, FindCharStepsOverCharacters) {
  EXPECT_EQ(FindChar(kAh + "\x81\x7D}", '}'), 4u);
  EXPECT_EQ(FindChar("\x81\x7D", '}'), npos);
  EXPECT_EQ(FindChar("a}b}", '}', 2), 3u);
  EXPECT_EQ(FindChar(kChinese + "}", '}'), 4u);
  EXPECT_EQ(FindChar(kAGrave + "}", '}'), 4u);
}

TEST(EngineTextTest, FoldedNeedleReplacesIntoReusedText) {
  const FoldedNeedle needle("$A");
  std::string out = "old";
  EXPECT_FALSE(needle.ReplaceAll(kChinese, "x", out));
  EXPECT_EQ(out, "old");
  EXPECT_TRUE(needle.ReplaceAll(kChinese + "$a" + kAh + "$A", "<>", out));
  EXPECT_EQ(out, kChinese + "<>" + kAh + "<>");
}

TEST(EngineTextTest, ReplaceAllNoCase) {
  for (const ReplaceRow& row : kReplaceRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ReplaceAllNoCase(row.text, row.from, row.to), row.expected);
  }
}

struct EqualsRow {
  const char* name;
  std::string a, b;
  bool expected;
};

const EqualsRow kEqualsRows[] = {
    {"ascii", "ReadMe.TXT", "readme.txt", true},
    {"different_letter", "abc", "abd", false},
    {"prefix", "abc", "ab", false},
    {"both_empty", "", "", true},
    {"different_byte_lengths", kAGrave, kAGraveLower, true},
    {"trail_letters_differ", kUpperA, kLowerTrailA, false},
    {"full_width", kFullA + kFullB, kFullLowerA + kFullLowerB, true},
    {"full_width_is_not_ascii", kFullA, "a", false},
};

TEST(EngineTextTest, EqualsNoCase) {
  for (const EqualsRow& row : kEqualsRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(EqualsNoCase(row.a, row.b), row.expected);
    EXPECT_EQ(EqualsNoCase(row.b, row.a), row.expected);
  }
}

struct TrimRow {
  const char* name;
  std::string text, blanks, spaces;
};

const TrimRow kTrimRows[] = {
    {"nothing_to_trim", "a b", "a b", "a b"},
    {"spaces", "  a b  ", "a b", "a b"},
    {"controls_and_nul", std::string("\0\t a\r\n", 6), "a", std::string("\0\t a\r\n", 6)},
    {"tab_inside_spaces", " \ta\t ", "a", "\ta\t"},
    {"only_blanks", " \t\r\n ", "", "\t\r\n"},
    {"byte_0x21_stays", "!a!", "!a!", "!a!"},
    {"chinese", " " + kChinese + " ", kChinese, kChinese},
};

TEST(EngineTextTest, TrimBlanksAndSpaces) {
  for (const TrimRow& row : kTrimRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(TrimBlanks(row.text), row.blanks);
    EXPECT_EQ(TrimSpaces(row.text), row.spaces);
  }
}

}  // namespace
}  // namespace platform
