#include "platform/native_path.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"

namespace platform {
namespace {

TEST(IsUtf8, TakesWellFormedUtf8Only) {
  for (const char* good : {"", "abc", "\xE4\xB8\xAD", "\xC2\x80", "\xF0\x90\x80\x80",
                           "\xF4\x8F\xBF\xBF", "\xEF\xBF\xBD"}) {
    SCOPED_TRACE(good);
    EXPECT_TRUE(IsUtf8(good));
  }
  for (const char* bad : {"\xD6\xD0", "\xFF", "\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                          "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xE4\xB8", "a\xE4"}) {
    SCOPED_TRACE(::testing::PrintToString(std::string(bad)));
    EXPECT_FALSE(IsUtf8(bad));
  }
}

// The text shown of a name: UTF-8 decoded; GBK bytes are Chinese as they are; bytes that
// form no character show the replacement mark.
TEST(EngineOf, DecodesUtf8ElseReadsTheBytesAsGb18030) {
  struct Case {
    const char* native;
    const char* engine;
  } const cases[] = {
      {"a.txt", "a.txt"},
      {"\xE4\xB8\xAD.txt", "\xD6\xD0.txt"},        // 中 in UTF-8
      {"\xD6\xD0.txt", "\xD6\xD0.txt"},            // 中 in GBK
      {"\xEF\xBF\xBD", "\x84\x31\xA4\x37"},        // U+FFFD written in UTF-8
      {"bad\xFF.txt", "bad\x84\x31\xA4\x37.txt"},  // no character at all
      {"\x81\x30\x81\x30", "\x81\x30\x81\x30"},    // a four-byte GB18030 character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.native);
    EXPECT_EQ(EngineOf(c.native), c.engine);
  }
}

TEST(NewNativeName, WritesUtf8AndRefusesWhatNoFileCanBeCalled) {
  EXPECT_EQ(NewNativeName("a.txt"), "a.txt");
  EXPECT_EQ(NewNativeName("\xB1\xA8\xB8\xE6.txt"), "\xE6\x8A\xA5\xE5\x91\x8A.txt");  // 报告
  for (const std::string& bad :
       {std::string(), std::string("."), std::string(".."), std::string("a/b"),
        std::string("a\0b", 3), std::string("\xD6")}) {  // half a character
    SCOPED_TRACE(::testing::PrintToString(bad));
    EXPECT_FALSE(NewNativeName(bad).has_value());
  }
}

TEST(JoinPath, TheEmptyFolderIsTheRoot) {
  EXPECT_EQ(JoinPath(NativePath(), "a").bytes(), "/a");
  EXPECT_EQ(JoinPath(NativePath("/x/\xD6\xD0"), "b").bytes(), "/x/\xD6\xD0/b");
}

}  // namespace
}  // namespace platform
