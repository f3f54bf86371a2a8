// The tips file's lines and the split of a line into the banner's text and link.

#include "app/tips.h"

#include <gtest/gtest.h>

#include <ostream>

// Failures show text, not bytes.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(TipsLines, SplitsAtEveryKindOfLineBreak) {
  struct Row {
    const char* name;
    QByteArray file;
    QStringList lines;
  };
  const Row rows[] = {
      {"empty file", "", {}},
      {"no final break", "a", {"a"}},
      {"final CR LF opens no line", "a\r\n", {"a"}},
      {"CR LF between", "a\r\nb", {"a", "b"}},
      {"lone CR and lone LF", "a\rb\nc\r\n", {"a", "b", "c"}},
      {"LF then CR is two breaks", "a\n\rb", {"a", "", "b"}},
      {"CR then CR LF", "a\r\r\nb", {"a", "", "b"}},
      {"break alone is one empty line", "\r\n", {""}},
      {"empty line before the end", "a\r\n\r\n", {"a", ""}},
      {"two lone LF", "\n\n", {"", ""}},
      {"blanks kept", " a \r\n\tb", {" a ", "\tb"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(app::TipsLines(row.file), row.lines);
  }
}

TEST(TipsLines, DecodesTheEngineCodePage) {
  struct Row {
    const char* name;
    QByteArray file;
    QStringList lines;
  };
  const Row rows[] = {
      {"two-byte characters", "\xC4\xE3\xBA\xC3@#$x\r\n", {U("你好@#$x")}},
      {"four-byte character", "\x95\x32\x82\x36\r\nz", {U("𠀀"), "z"}},
      // 0x40 ("@") is the trail byte of 0x8140: the separator must not be found there.
      {"at sign as a trail byte", "\x81\x40#$x", {U("丂#$x")}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(app::TipsLines(row.file), row.lines);
  }
}

// A lead byte cut off by a line break is no character: the break still ends the line.
TEST(TipsLines, BreakAfterACutOffLeadByteStillEndsTheLine) {
  const QStringList lines = app::TipsLines("a\x81\r\nb\xFE\nc");
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[0].startsWith(u'a'));
  EXPECT_EQ(lines[2], "c");
}

TEST(TipsParse, SplitsAtTheFirstSeparator) {
  struct Row {
    const char* line;
    const char* caption;
    const char* text;
    const char* link;
  };
  const Row rows[] = {
      {"tip text@#$http://127.0.0.1/x", "tip text >>", "tip text", "http://127.0.0.1/x"},
      {"@#$http://x", " >>", "", "http://x"},
      {"only text@#$", "only text >>", "only text", ""},
      {"a@#$b@#$c", "a >>", "a", "b@#$c"},
      {"@#@#$x", "@# >>", "@#", "x"},
      {"a@#b", " >>", "", "#b"},
      {"你好@#$世界", "你好 >>", "你好", "世界"},
      // Without a separator: no text, and the link from the third character on.
      {"no separator", " >>", "", " separator"},
      {"http://x", " >>", "", "tp://x"},
      {"你好世界", " >>", "", "世界"},
      {"𠀀xyz", " >>", "", "yz"},
      {"丂#$x", " >>", "", "$x"},
      {"ab", " >>", "", ""},
      {"a", " >>", "", ""},
      {"", " >>", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    const app::Tip tip = app::ParseTip(U(row.line));
    EXPECT_EQ(app::TipCaption(tip), U(row.caption));
    EXPECT_EQ(tip.text, U(row.text));
    EXPECT_EQ(tip.link, U(row.link));
  }
}

}  // namespace
