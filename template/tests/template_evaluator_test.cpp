#include "template/template_evaluator.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "platform/error.h"
#include "template/clock.h"

namespace tmpl {
namespace {

const FixedClock kClock({2024, 3, 5, 7, 8, 9, 45});

struct EvalRow {
  const char* name;
  std::string source, item, expected;
};

const EvalRow kEscapeRows[] = {
    {"tab", "", "a\\tb", "a\tb"},
    {"upper_case_tab", "", "a\\Tb", "a\tb"},
    {"carriage_return", "", "a\\rb\\Rc", "a\rb\rc"},
    {"line_feed", "", "a\\nb\\Nc", "a\nb\nc"},
    {"backslash_before_escape", "", "\\\\t", "\\\t"},
    {"other_letters_stay", "", "\\x\\\\", "\\x\\\\"},
    {"inside_arguments", "x", "${AddLeft(\\t)}", "\tx"},
    {"source_is_not_escaped", "a\\tb", "${LineOrg()}", "a\\tb"},
    // 0x5C as the trail byte of a character is no backslash.
    {"trail_byte_backslash", "", "\x81\x5Ct", "\x81\x5Ct"},
};

const EvalRow kParseRows[] = {
    {"no_item", "src", "abc", "abc"},
    {"bare_body", "src", "${Ext}", "Ext"},
    {"bare_body_after_text", "src", "pre${Ext}", "Ext"},
    {"bare_body_last_byte_dropped", "src", "${Ext", "Ex"},
    {"opening_only", "src", "${", ""},
    {"empty_item", "src", "${}", ""},
    {"unknown_name", "src", "${Frobnicate(1)}", "src"},
    {"caller_variable_left_alone", "src", "${Sn(1,3)}", "src"},
    {"blank_in_name", "xyz", "${ DelLeft(1)}", "xyz"},
    {"name_in_any_case", "xyz", "${DELLEFT(1)}", "yz"},
    {"text_before_is_dropped", "xyz", "pre${DelLeft(1)}", "yz"},
    {"missing_close", "xyz", "${DelLeft(2)", "xyz"},
    {"text_after_lands_in_the_argument", "xyz", "${DelLeft(1)}xy", "yz"},
    // The rest of the item lands in the argument text: "1)}${GetLeft(2" reads as 2.
    {"only_the_first_item", "abc", "${GetLeft(1)}${GetLeft(2)}", "ab"},
    {"arithmetic_arguments", "abcdef", "${GetMid(1+1,6/2)}", "bcd"},
    {"blanks_in_numbers", "abcdef", "${GetLeft( 2 )}", "ab"},
    {"comma_splits_before_numbers", "abcdef", "${GetLeft(1,000)}", "a"},
    {"third_slot_keeps_commas", "x-y", "${AddMid2(-,1,a,b)}", "x-a,by"},
    {"third_slot_as_number", "abcdefghijkl", "${GetMid2(a,0,1,0)}", "abcdefghij"},
    {"string_arguments_keep_blanks", "s", "${AddLeft( a )}", " a s"},
    {"double_byte_counts_two", "\xD6\xD0\xCE\xC4", "${GetLeft(2)}", "\xD6\xD0"},
    {"four_byte_counts_four",
     "\x81\x30\x86\x38"
     "ab",
     "${GetLeft(4)}", "\x81\x30\x86\x38"},
};

const EvalRow kNestingRows[] = {
    {"worked_example", "abcdef", "${AddLeft(${GetLeft(2)})}", "ababcdef"},
    {"against_the_same_source", "abca", "${RepStr(${GetLeft(1)},Z)}", "ZbcZ"},
    {"three_levels", "abcdef", "${AddLeft(${GetRight(${Len(abc)})})}", "defabcdef"},
    {"siblings", "xyz", "${AddMid(${Len(ab)},${GetLeft(1)})}", "xxyz"},
    {"result_brings_a_comma", "2,3xyz", "${GetMid(${GetLeft(3)})}", ",3x"},
    {"siblings_from_one_source", "abc", "${AddRight(${GetLeft(1)}${GetRight(1)})}", "abcac"},
    // An item written twice, in any letter case, takes the result of the first.
    {"same_item_any_case", "s", "${AddLeft(${AddLeft(X)}${addleft(x)})}", "XsXss"},
    {"nested_name", "abc", "${Get${AddLeft(L)}eft(1)}", "abc"},
    // A nested item goes through the escape step with the results it holds.
    {"escape_step_of_a_nested_item", "\\", "${AddLeft(${AddLeft(${GetLeft(1)}t)})}", "\t\\\\"},
};

// Inputs that the step-by-step loop would never finish: each ends, with a "}" that closes
// no item taken as plain text and results never read again.
const EvalRow kMalformedRows[] = {
    {"stray_brace", "s", "${AddLeft(a}b)}", "a}bs"},
    {"stray_brace_before_item", "xy", "${AddLeft(}${GetLeft(1)})}", "}xxy"},
    {"brace_in_result", "a}b", "${AddLeft(${LineOrg()})}", "a}ba}b"},
    {"brace_in_deeper_result", "}", "${AddLeft(${AddLeft(${LineOrg()})})}", "}}}"},
    {"item_in_result_stays_text", "${Len(abcd)}", "${AddLeft(${LineOrg()}!)}",
     "${Len(abcd)}!${Len(abcd)}"},
    {"same_item_in_result", "${LineOrg()}", "${AddLeft(${AddLeft(${LineOrg()})})}",
     "${LineOrg()}${LineOrg()}${LineOrg()}"},
    {"brace_without_dollar", "s", "${AddLeft({x})}", "{x}s"},
    {"unclosed_nested", "s", "${AddLeft(${GetLeft(1))}", "${GetLeft(1)s"},
    // 0x7D as the trail byte of a character is no brace.
    {"trail_byte_brace", "s", "${AddLeft(\x81\x7D)}", "\x81\x7Ds"},
    {"trail_byte_brace_in_nested_keyword",
     "a\x81\x7D"
     "b",
     "${AddLeft(${GetStr(\x81\x7D,2)})}",
     "\x81\x7D"
     "a\x81\x7D"
     "b"},
};

void CheckRows(const EvalRow* begin, const EvalRow* end) {
  for (const EvalRow* row = begin; row != end; ++row) {
    SCOPED_TRACE(row->name);
    EXPECT_EQ(EvalTemplate(row->source, row->item, kClock), row->expected);
  }
}

TEST(EvalTemplateTest, Escapes) { CheckRows(std::begin(kEscapeRows), std::end(kEscapeRows)); }
TEST(EvalTemplateTest, Parse) { CheckRows(std::begin(kParseRows), std::end(kParseRows)); }
TEST(EvalTemplateTest, Nesting) { CheckRows(std::begin(kNestingRows), std::end(kNestingRows)); }
TEST(EvalTemplateTest, MalformedItemsEnd) {
  CheckRows(std::begin(kMalformedRows), std::end(kMalformedRows));
}

// A template taken apart once and applied to line after line gives, for every line,
// what the evaluation of the item on that line alone gives.
TEST(PreparedTemplateTest, GivesWhatEachSingleEvaluationGives) {
  const std::string sources[] = {"abcdef", "", "x", "\xD6\xD0\xCE\xC4" "ab", "a}b",
                                 "${Len(abcd)}", "2,3xyz", "abca"};
  std::vector<std::string> items;
  for (const std::span<const EvalRow> rows : {std::span<const EvalRow>(kEscapeRows),
                                              std::span<const EvalRow>(kParseRows),
                                              std::span<const EvalRow>(kNestingRows),
                                              std::span<const EvalRow>(kMalformedRows)})
    for (const EvalRow& row : rows) items.push_back(row.item);
  items.insert(items.end(), {"${Date(yyyy-mm-dd)}", "${GetLeft(1+1)}", "${DelMid(2,2)}",
                             "${AddMid2(b,1,--)}", "${Xchg(a,b)}", "${Pos(c)}"});
  // One template taken apart again for each item keeps nothing of the item before.
  PreparedTemplate again("${GetLeft(3)}", kClock);
  for (const std::string& item : items) {
    SCOPED_TRACE(item);
    const PreparedTemplate prepared(item, kClock);
    again.Reset(item);
    std::string reused = "old text";
    for (const std::string& source : sources) {
      SCOPED_TRACE(source);
      const std::string expected = EvalTemplate(source, item, kClock);
      EXPECT_EQ(prepared.Apply(source), expected);
      EXPECT_EQ(prepared.Apply(source, reused), expected);
      EXPECT_EQ(again.Apply(source), expected);
    }
  }
}

// Nesting as deep as a text can hold is resolved in a loop, not in the call stack.
TEST(EvalTemplateTest, DeepNestingNeedsNoStack) {
  constexpr int kDepth = 200000;
  std::string item;
  for (int i = 0; i < kDepth; ++i) item += "${Len(";
  for (int i = 0; i < kDepth; ++i) item += ")}";
  EXPECT_EQ(EvalTemplate("s", item, kClock), "1");
}

std::string OutOfMemoryText(std::string_view source, std::string_view item, std::size_t growth) {
  try {
    EvalTemplate(source, item, kClock, growth);
  } catch (const platform::CommandError& error) {
    return error.what();
  }
  return "no error";
}

// Nested replacements multiply sizes: 10 bytes become 100, 1000, 10000. Texts may grow
// as far as the limit above the inputs and no further.
TEST(EvalTemplateTest, GrowthBeyondTheLimitEndsTheCommand) {
  const std::string source(10, 'a');
  const std::string item = "${RepStr(a,${RepStr(a,${RepStr(a,${LineOrg()})})})}";
  EXPECT_EQ(EvalTemplate(source, item, kClock, 10000), std::string(10000, 'a'));
  EXPECT_EQ(OutOfMemoryText(source, item, 9000), "Out of memory");
  // One replacement too many: the limit holds for the result of the replacement itself.
  EXPECT_EQ(OutOfMemoryText(source, "${RepStr(a,aaaa)}", 0), "Out of memory");
  EXPECT_EQ(OutOfMemoryText(source, "${Xchg(a,aaaaa)}", 10), "Out of memory");
  // Results of nested items put together count as well.
  const std::string hundred(100, 'a');
  EXPECT_EQ(EvalTemplate(hundred, "${AddLeft(${LineOrg()})}", kClock, 0), hundred + hundred);
  EXPECT_EQ(OutOfMemoryText(hundred, "${AddLeft(${LineOrg()}${LineOrg()})}", 0), "Out of memory");
}

// Each of a thousand nested results fits the limit, but together they would hold a
// gigabyte: what one evaluation keeps counts as a whole.
TEST(EvalTemplateTest, NestedResultsCountTogether) {
  std::string item;
  for (int i = 0; i < 1000; ++i) item += "${AddLeft(";
  item += "x";
  for (int i = 0; i < 1000; ++i) item += ")}";
  const std::string source(1024, 'y');
  EXPECT_EQ(OutOfMemoryText(source, item, std::size_t{2} << 20), "Out of memory");
  const std::string shallow = "${AddLeft(${AddLeft(${AddLeft(x)})})}";
  EXPECT_EQ(EvalTemplate(source, shallow, kClock, 4 * 1024).size(), 3 * 1024 + 1);
}

TEST(EvalTemplateTest, WithoutAClockTimeValuesLieOnTheFirstDay) {
  EXPECT_EQ(EvalTemplate("", "${Time(yyyy-mm-dd)}"), "1899-12-30");
}

}  // namespace
}  // namespace tmpl
