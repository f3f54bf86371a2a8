#include "content/delimited_list.h"

#include <gtest/gtest.h>

namespace content {
namespace {

using Texts = std::vector<std::string>;

TEST(SplitDelimitedList, FollowsTheDelimitedListRule) {
  struct Case {
    const char* name;
    std::string_view text;
    char delimiter;
    char quote;
    Texts items;
  } const cases[] = {
      {"numbers", "3, 5-8", ',', '"', {"3", "5-8"}},
      {"blanks separate", "5 - 8", ',', '"', {"5", "-", "8"}},
      {"tabs and blanks around", " \t3 ,\t4 ", ',', '"', {"3", "4"}},
      {"empty text", "", ';', '^', {}},
      {"only blanks", " \t ", ';', '^', {}},
      {"quoted keyword with a blank", "^two words^;key", ';', '^', {"two words", "key"}},
      {"unquoted blank splits", "a b", ';', '^', {"a", "b"}},
      {"doubled quote", "^a^^b^", ';', '^', {"a^b"}},
      {"unclosed quote runs to the end", "^a b", ';', '^', {"a b"}},
      {"text after a closing quote is a new item", "^a^b", ';', '^', {"a", "b"}},
      {"two delimiters give an empty item", "a;;b", ';', '^', {"a", "", "b"}},
      {"leading delimiter", ";a", ';', '^', {"", "a"}},
      {"trailing delimiter gives an empty item", "a;", ';', '^', {"a", ""}},
      {"delimiter and blank at the end: no empty item", "a; ", ';', '^', {"a"}},
      {"lone delimiter", ";", ';', '^', {"", ""}},
      {"zero byte ends the text", std::string_view("a;b\0;c", 6), ';', '^', {"a", "b"}},
      // 0x81 0x5E: a GBK character whose trail byte is the quote "^".
      {"trail byte is no quote", "^\x81\x5E^;k", ';', '^', {"\x81\x5E", "k"}},
      {"trail byte is no quote outside quotes",
       "\x81\x5E\x81\x5E;k",
       ';',
       '^',
       {"\x81\x5E\x81\x5E", "k"}},
      {"double-byte keywords", "\xD6\xD0;\xCE\xC4", ';', '^', {"\xD6\xD0", "\xCE\xC4"}},
      {"four-byte character", "\x81\x30\x81\x30;a", ';', '^', {"\x81\x30\x81\x30", "a"}},
      {"quoted line numbers", "\"3\",\"5-8\"", ',', '"', {"3", "5-8"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitDelimitedList(c.text, c.delimiter, c.quote), c.items);
  }
}

}  // namespace
}  // namespace content
