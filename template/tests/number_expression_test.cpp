#include "template/number_expression.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace tmpl {
namespace {

struct NumberRow {
  const char* name;
  std::string text;
  double expected;
};

const NumberRow kNumberRows[] = {
    {"empty", "", 0},
    {"letters_do_not_read", "abc", 0},
    {"chinese_numeral_is_no_number", "\xC8\xFD", 0},  // 三
    {"plain", "12", 12},
    {"spaces_are_dropped", " 1 2 ", 12},
    {"commas_are_dropped", "1,000", 1000},
    {"only_blanks_and_commas", " , ", 0},
    {"rank_of_times", "2+3*4", 14},
    {"parentheses", "(2+3)*4", 20},
    {"equal_ranks_left_to_right", "8-3-2", 3},
    {"mixed_ranks", "2+3*4-5", 9},
    {"leading_sign", "-3+5", 2},
    {"leading_plus", "+5", 5},
    {"sign_after_operator", "2*-3", -6},
    {"minus_minus", "2--3", 5},
    {"two_leading_signs_do_not_read", "--5", 0},
    {"sign_before_parenthesis_is_lost", "-(2)", 2},
    {"division_gives_reals", "7/2", 3.5},
    {"negative_division", "-7/2", -3.5},
    {"reals_all_the_way", "7/2*2", 7},
    {"division_left_to_right", "10/4/5", 0.5},
    {"division_by_zero", "5/0", 0},
    {"negative_divisor", "6/(0-2)", 0},
    {"divisor_below_the_limit", "1/0.0000009", 0},
    {"divisor_at_the_limit", "1/0.000001", 1000000},
    {"unreadable_token_dropped", "x+3", 3},
    {"chinese_token_dropped", "\xB6\xFE+1", 1},  // 二+1
    {"unmatched_open_stops_the_finish", "2*(3", 3},
    {"unmatched_open_alone", "(2+3", 5},
    {"unmatched_close", "2+3)", 5},
    {"unmatched_close_then_more", "2+3)*2", 10},
    {"nested_parentheses", "((2))", 2},
    {"two_groups", "(1+2)*(3+4)", 21},
    {"empty_parentheses", "()", 0},
    {"operator_alone", "*", 0},
    {"leading_operator", "*2", 2},
    {"trailing_operator", "2*", 2},
    {"exponent", "1e3", 1000},
    {"exponent_sign_is_an_operator", "1.5e-1*2", 2},
    {"fraction_without_integer", ".5", 0.5},
    {"integer_with_point", "5.", 5},
    {"point_alone", ".", 0},
    {"two_points", "1.2.3", 0},
    {"tab_is_not_removed", "1\t", 0},
    {"beyond_a_double_does_not_read", "1e999+2", 2},
};

TEST(EvalNumberTest, FollowsTheScanAndItsQuirks) {
  for (const NumberRow& row : kNumberRows) {
    SCOPED_TRACE(row.name);
    EXPECT_DOUBLE_EQ(EvalNumber(row.text), row.expected);
  }
}

struct ArgumentRow {
  const char* name;
  std::string text;
  std::int64_t expected;
};

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

const ArgumentRow kArgumentRows[] = {
    {"truncates_down", "3.9", 3},
    {"truncates_toward_zero", "-3.5", -3},
    {"half_of_seven", "7/2", 3},
    {"unreadable", "abc", 0},
    {"overflow_saturates", "1e300*1e300", kMax},
    {"negative_overflow_saturates", "0-1e300*1e300", kMin},
    {"not_a_number_gives_zero", "1e300*1e300-1e300*1e300", 0},
    {"large_but_in_range", "4e18", 4000000000000000000},
};

TEST(NumericArgumentTest, TruncatesAndSaturates) {
  for (const ArgumentRow& row : kArgumentRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(NumericArgument(row.text), row.expected);
  }
}

TEST(ApplyOpTest, DivisorsBelowTheLimitAndUnknownOperatorsGiveZero) {
  EXPECT_DOUBLE_EQ(ApplyOp(6, '/', 4), 1.5);
  EXPECT_DOUBLE_EQ(ApplyOp(6, '/', -2), 0);
  EXPECT_DOUBLE_EQ(ApplyOp(6, '/', 0), 0);
  EXPECT_DOUBLE_EQ(ApplyOp(6, '(', 2), 0);
  EXPECT_DOUBLE_EQ(ApplyOp(6, '%', 2), 0);
}

struct DecimalRow {
  const char* token;
  bool reads;
  double value;
};

const DecimalRow kDecimalRows[] = {
    {"0", true, 0},       {"-12.5", true, -12.5}, {"+7", true, 7},     {"2E2", true, 200},
    {"2e+2", true, 200},  {"25e-1", true, 2.5},   {"-.5", true, -0.5}, {"", false, 0},
    {"-", false, 0},      {"e5", false, 0},       {"1e", false, 0},    {"1e+", false, 0},
    {"inf", false, 0},    {"nan", false, 0},      {"0x10", false, 0},  {"1 ", false, 0},
    {"1e-400", false, 0},
};

TEST(ReadDecimalTest, ReadsDecimalNumbersOnly) {
  for (const DecimalRow& row : kDecimalRows) {
    SCOPED_TRACE(row.token);
    double value = -1;
    EXPECT_EQ(ReadDecimal(row.token, value), row.reads);
    if (row.reads) {
      EXPECT_DOUBLE_EQ(value, row.value);
    }
  }
}

}  // namespace
}  // namespace tmpl
