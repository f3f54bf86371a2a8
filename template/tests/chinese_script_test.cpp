#include "template/chinese_script.h"

#include <gtest/gtest.h>

#include <string>

namespace tmpl {
namespace {

struct ScriptRow {
  const char* name;
  std::string text, expected;
};

const ScriptRow kToBig5Rows[] = {
    {"ascii", "abc 123", "abc 123"},
    {"simplified_to_traditional", "\xBA\xBA\xD7\xD6", "\xBA\x7E\xA6\x72"},  // 汉字 -> 漢字
    {"phrase_mapping", "\xCD\xB7\xB7\xA2", "\xC0\x59\xBE\x76"},             // 头发 -> 頭髮
    {"nul_bytes_pass", std::string("a\0\xBA\xBA", 4), std::string("a\0\xBA\x7E", 4)},
    // Characters that code page 950 has no place for become its substitute.
    {"no_equivalent_in_950", "\x81\x41", "?"},  // 丄
    {"pinyin_letter", "\xA8\xA1", "?"},         // ā
    {"four_byte_character",
     "\x81\x30\x86\x38"
     "a",
     "?a"},  // Àa
};

TEST(ChineseScriptTest, GbToBig5) {
  for (const ScriptRow& row : kToBig5Rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(GbToBig5(row.text), row.expected);
  }
}

const ScriptRow kToGbRows[] = {
    {"ascii", "abc", "abc"},
    {"traditional_to_simplified", "\xBA\x7E\xA6\x72", "\xBA\xBA\xD7\xD6"},    // 漢字 -> 汉字
    {"trail_bytes_in_letter_range", "\xC0\x59\xBE\x76", "\xCD\xB7\xB7\xA2"},  // 頭髮 -> 头发
    {"euro_sign", "\xA3\xE1", "\xA2\xE3"},
    {"byte_that_is_no_character", "\xFF", "?"},
};

TEST(ChineseScriptTest, Big5ToGb) {
  for (const ScriptRow& row : kToGbRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Big5ToGb(row.text), row.expected);
  }
}

TEST(ChineseScriptTest, RoundTripOfTraditionalText) {
  const std::string big5 = "\xA4\xA4\xB5\xD8\xA5\xC1\xB0\xEA";  // 中華民國
  EXPECT_EQ(GbToBig5(Big5ToGb(big5)), big5);
}

}  // namespace
}  // namespace tmpl
