#include "platform/wildcard.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

const std::string kChinese = "\xD6\xD0\xCE\xC4";                  // 中文
const std::string kWen = "\xCE\xC4";                              // 文
const std::string kUpperA = "\x81\x41";                           // trail byte 'A'
const std::string kFullA = "\xA3\xC1", kFullLowerA = "\xA3\xE1";  // Ａ ａ

struct WildcardRow {
  const char* name;
  std::string fileName;
  std::string pattern;
  bool expected;
};

const WildcardRow kRows[] = {
    {"extension_any_case", "a.TXT", "*.txt", true},
    {"extension_not_last", "a.txt.bak", "*.txt", false},
    {"nothing_before_the_extension", ".txt", "*.txt", true},
    {"no_dot", "txt", "*.txt", false},
    {"question_mark", "abc", "a?c", true},
    {"question_mark_needs_one", "ac", "a?c", false},
    {"question_mark_only_one", "abbc", "a?c", false},
    {"star_alone", "anything at all", "*", true},
    {"star_matches_empty", "", "*", true},
    {"star_dot_star_without_dot", "README", "*.*", true},
    {"star_dot_star_with_dot", "a.b", "*.*", true},
    {"star_dot_without_dot", "README", "*.", false},
    {"pattern_case", "readme.md", "README.MD", true},
    {"gb18030_question_is_one_character", kChinese + ".txt", "??.txt", true},
    {"gb18030_question_is_not_one_byte", kChinese + ".txt", "????.txt", false},
    {"gb18030_four_byte_character",
     "\x95\x32\x82\x36"
     "a",
     "?A", true},
    {"gb18030_in_pattern", "x" + kChinese + "y", "*" + kWen + "?", true},
    {"trail_byte_is_not_a_letter", kUpperA, "*a*", false},
    {"trail_byte_is_not_matched_by_a", kUpperA + "b", "?b", true},
    {"full_width_case", kFullA + ".txt", kFullLowerA + ".*", true},
    {"blank_inside_pattern_matches", "x .txt", "* .txt", true},
    {"blank_inside_pattern_required", "x.txt", "* .txt", false},
    {"stars_in_a_row", "abc", "a**c", true},
    {"backtrack_over_several_stars", "abcbcd", "*b*d", true},
    {"backtrack_fails", "abcbce", "*b*d", false},
    {"empty_pattern", "a", "", false},
    {"many_stars_without_blow_up", std::string(4000, 'a'),
     "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b", false},
};

TEST(WildcardTest, MatchesNames) {
  for (const WildcardRow& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(MatchesWildcard(row.fileName, row.pattern), row.expected);
    EXPECT_EQ(Wildcard(row.pattern).Matches(row.fileName), row.expected);
  }
}

TEST(WildcardTest, OnePreparedPatternServesManyNames) {
  const Wildcard pattern("*.TXT");
  EXPECT_TRUE(pattern.Matches("a.txt"));
  EXPECT_TRUE(pattern.Matches(kChinese + ".Txt"));
  EXPECT_FALSE(pattern.Matches(kChinese + ".doc"));
  EXPECT_TRUE(pattern.Matches("b.TXT"));
}

}  // namespace
}  // namespace platform
