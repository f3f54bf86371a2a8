#include "content/insert_chars.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace content {
namespace {

using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

TEST(InsertChars, WorksOnTheChosenLinesAndNumbersOnlyThose) {
  const LineList text = LineList::FromBytes("a\r\n\r\n \r\nkey b\r\n\xD6\xD0k\r\n");
  struct Case {
    const char* name;
    const char* format;
    WorkedLines lines;
    int lineNumber;
    const char* keyword;
    Texts out;
  } const cases[] = {
      {"text lines, numbered",
       "${AddLeft(${Sn(1,3)}-)}",
       WorkedLines::WithText,
       1,
       "",
       {"001-a", "", "002- ", "003-key b", "004-\xD6\xD0k"}},
      {"all lines, an empty one too",
       "${AddRight(!)}",
       WorkedLines::All,
       1,
       "",
       {"a!", "!", " !", "key b!", "\xD6\xD0k!"}},
      {"keyword lines only",
       "${AddLeft(${sn(9,1)}.)}",
       WorkedLines::WithKeyword,
       1,
       "k",
       {"a", "", " ", "9.key b", "10.\xD6\xD0k"}},
      {"number as long as the width is not cut",
       "${AddLeft(${SN(123,2)})}",
       WorkedLines::WithText,
       1,
       "",
       {"123a", "", "124 ", "125key b", "126\xD6\xD0k"}},
      {"at most sixteen zeros",
       "${AddLeft(${Sn(5,40)})}",
       WorkedLines::WithKeyword,
       1,
       "b",
       {"a", "", " ", "00000000000000005key b", "\xD6\xD0k"}},
      {"line number beyond the end: the last, with the start value",
       "${AddLeft(${Sn(7,2)})}",
       WorkedLines::LineNumber,
       10,
       "",
       {"a", "", " ", "key b", "07\xD6\xD0k"}},
      {"line number",
       "${AddLeft(>)}",
       WorkedLines::LineNumber,
       2,
       "",
       {"a", ">", " ", "key b", "\xD6\xD0k"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InsertPlan plan{c.lines, c.lineNumber, c.keyword, tmpl::ReadSequenceItem(c.format), c.format};
    CollectedLines out;
    InsertChars(text, c.format, plan, out);
    EXPECT_EQ(out.lines, c.out);
  }
}

class InsertRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.txt", "b.txt"}) {
      temp_.Write(name, "x\n\ny\n");
      files_.AppendFileRow({name, temp_.Path(), "5", "", "", ".txt"});
      files_.SetMark(files_.RowCount() - 1, true);
    }
  }
  TempFolder temp_;
  fileset::FileList files_;
  RecordingHost host_;
};

TEST_F(InsertRun, NumberingRestartsInEveryFileWithItsOwnName) {
  RunInsert(files_, {"${AddLeft(${Filename}:${Sn(1,2)}:)}", WorkedLines::WithText, "1", "", true},
            host_);
  EXPECT_EQ(temp_.Read("a.txt"), "a.txt:01:x\r\n\r\na.txt:02:y\r\n");
  EXPECT_EQ(temp_.Read("b.txt"), "b.txt:01:x\r\n\r\nb.txt:02:y\r\n");
  EXPECT_EQ(temp_.Read("a.txt.bak"), "x\n\ny\n");
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理完成,共处理 2 个文件!"}));
  RunInsert(files_, {"${AddRight(=${fullname})}", WorkedLines::LineNumber, "0", "", false}, host_);
  EXPECT_EQ(temp_.Read("b.txt"), "b.txt:01:x=" + temp_.Path("b.txt") + "\r\n\r\nb.txt:02:y\r\n");
}

TEST_F(InsertRun, ChecksComeBeforeAnything) {
  struct Case {
    const char* format;
    WorkedLines lines;
    const char* lineNumber;
    const char* outcome;
  } const cases[] = {
      {"", WorkedLines::All, "1", "[error] 请输入内容插入格式！"},
      {"AddLeft(x)", WorkedLines::All, "1", "[error] 内容插入格式不正确，请在左边选择变量或函数！"},
      {"${AddLeft(x)}", WorkedLines::WithKeyword, "1", "[error] 关键字不能为空，请输入后再试！"},
      {"${AddLeft(x)}", WorkedLines::All, "1 ", "'1 ' is not a valid integer value"},
      {"${AddLeft(${Sn(1)})}", WorkedLines::All, "1", "'' is not a valid integer value"},
      // 0x81 0x7D is one character: the item runs on to the real "}", as in a rename.
      {"${AddLeft(${Sn(1,2\x81\x7D)})}", WorkedLines::All, "1",
       "'2\xE4\xBA\x87' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.outcome);
    host_.boxes.clear();
    std::string outcome;
    try {
      RunInsert(files_, {c.format, c.lines, c.lineNumber, "", true}, host_);
      ASSERT_EQ(host_.boxes.size(), 1u);
      outcome = host_.boxes[0];
    } catch (const platform::CommandError& error) {
      outcome = error.what();
    }
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(temp_.Read("a.txt"), "x\n\ny\n");
    EXPECT_FALSE(temp_.Exists("a.txt.bak"));
  }
}

}  // namespace
}  // namespace content
