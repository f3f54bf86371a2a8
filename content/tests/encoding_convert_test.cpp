#include "content/encoding_convert.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "content/tests/marked_files.h"

namespace content {
namespace {

TEST(EncodingConvert, TheFieldNamesTheConversion) {
  struct Case {
    const char* item;
    Encoding to;
  } const cases[] = {
      {"${TOANSI()}", Encoding::ToAnsi},  {"${toUtf8(x)}", Encoding::ToUtf8},
      {" ${ToUtf8()}", Encoding::None},    // the name would be "{toutf8"
      {"${ToUtf8()}x", Encoding::ToUtf8},  // cut at the wrong places, the name still reads
      {"${ToAnsi)(", Encoding::None},      // the "(" is the byte dropped
      {"toutf8", Encoding::None},         {"${ToUtf8}", Encoding::None},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodingNamed(c.item), c.to) << c.item;
}

class EncodingRun : public testing::MarkedFilesRun {
 protected:
  struct File {
    const char* name;
    std::string before;
    const char* after;  // nullptr: left as it was
  };

  // Lists and marks the files after "a.txt" and "b.txt" (three ASCII lines each).
  template <std::size_t N>
  void List(const File (&files)[N]) {
    for (const File& f : files) {
      temp_.Write(f.name, f.before);
      files_.AppendFileRow(
          {f.name, temp_.Path(), "1", "2020-01-01 00:00:00", "2020-01-02 00:00:00", ".txt"});
      files_.SetMark(files_.RowCount() - 1, true);
    }
  }

  void Run(const char* item, bool backup, const char* closing) {
    host_.boxes.clear();
    EXPECT_EQ(RunEncodingConversion(files_, {item, backup}, host_).focus, "");
    EXPECT_EQ(host_.boxes, std::vector<std::string>{closing});
    EXPECT_EQ(temp_.Read("a.txt"), "1\r\n2\r\n3\r\n");  // ASCII is converted too
  }

  // Each file after the first run: converted, with the old bytes in its ".bak", or left.
  template <std::size_t N>
  void ExpectConverted(const File (&files)[N]) {
    for (const File& f : files) {
      SCOPED_TRACE(f.name);
      const std::string bak = std::string(f.name) + ".bak";
      EXPECT_EQ(temp_.Read(f.name), f.after != nullptr ? f.after : f.before);
      EXPECT_EQ(temp_.Exists(bak), f.after != nullptr);
      if (f.after != nullptr) {
        EXPECT_EQ(temp_.Read(bak), f.before);
      }
    }
  }
};

TEST_F(EncodingRun, RefusesAnEmptyFieldAndDoesNothingForAnyOtherName) {
  ExpectRefused(
      [&] {
        return RunEncodingConversion(files_, {"", true}, host_);
      },
      "[error] 新文件格式为空,请输入后再试!", nullptr, "edtCharset");
  host_.boxes.clear();
  for (const char* item : {" ", " ${ToUtf8()}", "toutf8", "${ToBig5()}"}) {
    SCOPED_TRACE(item);
    EXPECT_EQ(RunEncodingConversion(files_, {item, true}, host_).focus, "");
    EXPECT_TRUE(host_.boxes.empty());
    EXPECT_TRUE(host_.commandEnabled.empty());
    ExpectUntouched();
  }
}

TEST_F(EncodingRun, ToUtf8ConvertsGbkAndLeavesWhatItWouldDamage) {
  const File files[] = {
      {"gbk.txt", "\xC4\xE3\xBA\xC3", "\xE4\xBD\xA0\xE5\xA5\xBD\r\n"},  // 你好
      // é (two bytes), À and U+20000 (four bytes), under every line break
      {"mixed.txt", "x\xA8\xA6\r\n\x81\x30\x86\x38\r\x95\x32\x82\x36\n",
       "x\xC3\xA9\r\n\xC3\x80\r\n\xF0\xA0\x80\x80\r\n"},
      {"empty.txt", "", ""},
      {"bom.txt", "\xEF\xBB\xBFxyz", nullptr},
      {"utf8.txt", "\xE4\xBD\xA0\n", nullptr},
      {"lone.txt", "a\x80z", nullptr},
      {"cut.txt", "\xC4\xE3\xBA", nullptr},
      {"zero.txt", std::string("\x80\0", 2), nullptr},  // no text, whatever else it is
  };
  List(files);
  Run("${ToUtf8()}", true,
      "[info] 成功处理完成,共处理 5 个文件!\n"
      "1 个文件含有零字节，不是文本，未处理\n"
      "2 个文件已是UTF-8编码，未处理\n"
      "2 个文件含有无效的GBK字节，未处理");
  ExpectConverted(files);
  EXPECT_EQ(host_.Count(platform::Counter::Change), 5);
  // The files left were not written half: the folder holds the listed files and five
  // copies, nothing more.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_.Path()), {}), 10 + 5);

  // Once more: the converted files are UTF-8 now, and the ASCII ones stay as they are.
  Run("${toutf8()}", false,
      "[info] 成功处理完成,共处理 3 个文件!\n"
      "1 个文件含有零字节，不是文本，未处理\n"
      "4 个文件已是UTF-8编码，未处理\n"
      "2 个文件含有无效的GBK字节，未处理");
  ExpectConverted(files);
}

TEST_F(EncodingRun, ToAnsiConvertsUtf8AndToUtf8BringsItBack) {
  const File files[] = {
      {"utf8.txt", "\xE4\xBD\xA0\xE5\xA5\xBD", "\xC4\xE3\xBA\xC3\r\n"},
      // the byte-order mark dropped; a four-byte UTF-8 character becomes a four-byte code
      {"bom.txt", "\xEF\xBB\xBF\xC3\xA9\n\xF0\x9F\x98\x80", "\xA8\xA6\r\n\x94\x39\xFC\x36\r\n"},
      {"gbk.txt", "\xC4\xE3\xBA\xC3", nullptr},
      {"surrogate.txt", "a\xED\xA0\x80", nullptr},
  };
  List(files);
  Run("${ToAnsi()}", true, "[info] 成功处理完成,共处理 4 个文件!\n2 个文件不是UTF-8编码，未处理");
  ExpectConverted(files);

  // "surrogate.txt" is no GB18030 either: 0xED 0xA0 is a character, 0x80 none.
  Run("${ToUtf8()}", false,
      "[info] 成功处理完成,共处理 5 个文件!\n1 个文件含有无效的GBK字节，未处理");
  EXPECT_EQ(temp_.Read("utf8.txt"), "\xE4\xBD\xA0\xE5\xA5\xBD\r\n");
  EXPECT_EQ(temp_.Read("bom.txt"), "\xC3\xA9\r\n\xF0\x9F\x98\x80\r\n");
  EXPECT_EQ(temp_.Read("gbk.txt"), "\xE4\xBD\xA0\xE5\xA5\xBD\r\n");
  EXPECT_EQ(temp_.Read("surrogate.txt"), "a\xED\xA0\x80");
}

}  // namespace
}  // namespace content
