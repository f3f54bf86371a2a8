// The function table through EvalTemplate, one table of {source, item, expected} per
// function.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "template/clock.h"
#include "template/template_evaluator.h"

namespace tmpl {
namespace {

// Tuesday, 5 March 2024, 07:08:09.045.
const FixedClock kClock({2024, 3, 5, 7, 8, 9, 45});

const std::string kZhong = "\xD6\xD0", kWen = "\xCE\xC4";  // 中 文
const std::string kTrailA = "\x81\x41";                    // trail byte 'A'
const std::string kFourByte = "\x81\x30\x86\x38";          // À, four bytes

struct Row {
  std::string source, item, expected;
};

struct FunctionCase {
  const char* name;
  std::vector<Row> rows;
};

class FunctionTest : public testing::TestWithParam<FunctionCase> {};

TEST_P(FunctionTest, GivesTheNewSourceText) {
  for (const Row& row : GetParam().rows) {
    SCOPED_TRACE(row.source + " | " + row.item);
    EXPECT_EQ(EvalTemplate(row.source, row.item, kClock), row.expected);
  }
}

const FunctionCase kCases[] = {
    {"RepStr",
     {{"abcdef", "${RepStr(C,x)}", "abxdef"},
      {"abcABC", "${RepStr(b,-)}", "a-cA-C"},
      {"abcdef", "${RepStr(,x)}", "abcdef"},
      {kTrailA + "a", "${RepStr(a,z)}", kTrailA + "z"},
      {kZhong + kWen, "${RepStr(\xD0\xCE,x)}", kZhong + kWen},
      {kZhong + kWen + kZhong, "${RepStr(" + kZhong + ",X)}", "X" + kWen + "X"}}},
    {"DelStr",
     {{"abcdef", "${DelStr(c)}", "abdef"},
      {"abcdef", "${DelStr(C)}", "abcdef"},
      {"abcabc", "${DelStr(b)}", "acabc"},
      {"abcdef", "${DelStr()}", "abcdef"},
      {kZhong + kWen, "${DelStr(\xD0\xCE)}", "\xD6\xC4"},
      {kTrailA + "B", "${DelStr(A)}",
       "\x81"
       "B"}}},
    {"DelRange",
     {{"abcdef", "${DelRange(b,e)}", "af"},
      {"abcdef", "${DelRange(e,b)}", "abcdef"},
      {"abcdef", "${DelRange(b,)}", "abcdef"},
      {"abcdef", "${DelRange(,e)}", "abcdef"},
      {"abab", "${DelRange(a,b)}", "ab"},
      {"aXa", "${DelRange(aX,Xa)}", "aXa"},
      {"x" + kZhong + "y" + kWen + "z", "${DelRange(" + kZhong + "," + kWen + ")}", "xz"}}},
    {"DelLeft",
     {{"abcdef", "${DelLeft(2)}", "cdef"},
      {"abcdef", "${DelLeft(9)}", ""},
      {"abcdef", "${DelLeft(0)}", "abcdef"},
      {"abcdef", "${DelLeft(-1)}", "abcdef"},
      {"abcdef", "${DelLeft(abc)}", "abcdef"},
      {kZhong + kWen, "${DelLeft(1)}", "\xD0" + kWen}}},
    {"DelRight",
     {{"abcdef", "${DelRight(2)}", "abcd"},
      {"abcdef", "${DelRight(6)}", ""},
      {"abcdef", "${DelRight(9)}", "abcdef"},
      {"abcdef", "${DelRight(0)}", "abcdef"},
      {"abcdef", "${DelRight(1e300*1e300)}", "abcdef"},
      {"", "${DelRight(1)}", ""},
      {kZhong + kWen, "${DelRight(1)}", kZhong + "\xCE"}}},
    {"DelMid",
     {{"abcdef", "${DelMid(2,3)}", "aef"},
      {"abcdef", "${DelMid(0,3)}", "abcdef"},
      {"abcdef", "${DelMid(2,0)}", "abcdef"},
      {"abcdef", "${DelMid(7,1)}", "abcdef"},
      {"abcdef", "${DelMid(5,1e300*1e300)}", "abcd"},
      {kZhong + kWen, "${DelMid(2,2)}", "\xD6\xC4"}}},
    {"AddLeftAndAddRight",
     {{"abcdef", "${AddLeft(xy)}", "xyabcdef"},
      {"abcdef", "${AddRight(xy)}", "abcdefxy"},
      {"abcdef", "${AddRight(x,y)}", "abcdefx"},
      {"", "${AddLeft()}", ""}}},
    {"AddMid",
     {{"abcdef", "${AddMid(3,XY)}", "abXYcdef"},
      {"abcdef", "${AddMid(1,XY)}", "XYabcdef"},
      {"abcdef", "${AddMid(7,XY)}", "abcdefXY"},
      {"abcdef", "${AddMid(99,XY)}", "abcdefXY"},
      {"abcdef", "${AddMid(0,XY)}", "abcdef"},
      {kZhong + kWen, "${AddMid(2,-)}", "\xD6-\xD0" + kWen}}},
    {"GetLeft",
     {{"abcdef", "${GetLeft(2)}", "ab"},
      {"abcdef", "${GetLeft(0)}", "abcdef"},
      {"abcdef", "${GetLeft(99)}", "abcdef"},
      {kZhong + kWen, "${GetLeft(1)}", "\xD6"},
      {kZhong + kWen, "${GetLeft(3)}", kZhong + "\xCE"}}},
    {"GetRight",
     {{"abcdef", "${GetRight(2)}", "ef"},
      {"abcdef", "${GetRight(9)}", "abcdef"},
      {"abcdef", "${GetRight(-2)}", "abcdef"},
      {"abcdef", "${GetRight(1e300*1e300)}", "abcdef"},
      {kZhong + kWen, "${GetRight(1)}", "\xC4"}}},
    {"GetMid",
     {{"abcdef", "${GetMid(2,3)}", "bcd"},
      {"abcdef", "${GetMid(9,2)}", ""},
      {"abcdef", "${GetMid(0,2)}", "abcdef"},
      {"abcdef", "${GetMid(2,0)}", "abcdef"},
      {"abcdef", "${GetMid(5,9)}", "ef"},
      {kZhong + kWen, "${GetMid(2,2)}", "\xD0\xCE"}}},
    {"GetStr",
     {{"abcdef", "${GetStr(c,2)}", "cd"},
      {"abcdef", "${GetStr(e,9)}", "ef"},
      {"abcdef", "${GetStr(z,2)}", "abcdef"},
      {"abcdef", "${GetStr(c,0)}", "abcdef"},
      {"a" + kTrailA + "b", "${GetStr(A,2)}", "Ab"}}},
    {"GetStr2",
     {{"abcdef", "${GetStr2(b,d)}", "bcd"},
      {"abcdef", "${GetStr2(d,b)}", "abcdef"},
      {"a-b-c", "${GetStr2(-,-)}", "-b-"},
      {"abcdef", "${GetStr2(b,)}", "abcdef"}}},
    {"AddMid2",
     {{"abcdef", "${AddMid2(c,0,-)}", "ab-cdef"},
      {"abcdef", "${AddMid2(c,1,-)}", "abc-def"},
      {"abcdef", "${AddMid2(c,1+1,-)}", "abcd-ef"},
      {"abcdef", "${AddMid2(c,-9,-)}", "-abcdef"},
      {"abcdef", "${AddMid2(c,99,-)}", "abcdef-"},
      {"abcdef", "${AddMid2(c,1e300*1e300,-)}", "abcdef-"},
      {"abcdef", "${AddMid2(c,0-1e300*1e300,-)}", "-abcdef"},
      {"abcdef", "${AddMid2(z,0,-)}", "abcdef"}}},
    {"NewLine",
     {{"abcdef", "${NewLine(4)}", "abcd\r\nef"},
      {"abcdefgh", "${NewLine(3)}", "abc\r\ndef\r\ngh"},
      {"abcdef", "${NewLine(3)}", "abc\r\ndef"},
      {"abcdef", "${NewLine(6)}", "abcdef"},
      {"abcdef", "${NewLine(0)}", "abcdef"},
      {"", "${NewLine(1)}", ""},
      {"a" + kZhong + kWen, "${NewLine(2)}", "a\r\n" + kZhong + "\r\n" + kWen},
      {kZhong + kWen, "${NewLine(3)}", kZhong + "\r\n" + kWen},
      {kZhong + "a", "${NewLine(1)}", kZhong + "\r\na"},
      {"a" + kZhong, "${NewLine(1)}", "a\r\n" + kZhong},
      {kTrailA + kTrailA, "${NewLine(3)}", kTrailA + "\r\n" + kTrailA},
      {kFourByte + "ab", "${NewLine(2)}", kFourByte + "\r\nab"},
      {"ab" + kFourByte, "${NewLine(3)}", "ab\r\n" + kFourByte}}},
    {"Xchg",
     {{"abcdef", "${Xchg(a,f)}", "fbcdea"},
      {"abcdef", "${Xchg(A,F)}", "FbcdeA"},
      {"abcdef", "${Xchg(,b)}", "acdef"},
      {"abcdef", "${Xchg(b,)}", "acdef"},
      {"x(!@#$%^&*)y", "${Xchg(x,y)}", "yyx"}}},
    {"DelStrL",
     {{"abcdef", "${DelStrL(cd)}", "ef"},
      {"abcdef", "${DelStrL(f)}", ""},
      {"abcdef", "${DelStrL(z)}", "abcdef"}}},
    {"DelStrR",
     {{"abcdef", "${DelStrR(cd)}", "ab"},
      {"abcdef", "${DelStrR(a)}", ""},
      {"abcdef", "${DelStrR(z)}", "abcdef"}}},
    {"Pos",
     {{"abcdef", "${Pos(d)}", "4"},
      {"abcdef", "${Pos(z)}", "0"},
      {"abcdef", "${Pos()}", "0"},
      {kZhong + kWen, "${Pos(" + kWen + ")}", "3"},
      {kTrailA, "${Pos(A)}", "2"}}},
    {"GetMid2",
     {{"abcdef", "${GetMid2(c,1,2)}", "de"},
      {"abcdef", "${GetMid2(c,0,2)}", "cd"},
      {"abcdef", "${GetMid2(c,-2,2)}", "ab"},
      {"abcdef", "${GetMid2(c,-3,2)}", "abcdef"},
      {"abcdef", "${GetMid2(c,-9,2)}", "abcdef"},
      {"abcdef", "${GetMid2(c,9,2)}", ""},
      {"abcdef", "${GetMid2(c,1,0)}", "abcdef"},
      {"abcdef", "${GetMid2(c,0-1e300*1e300,2)}", "abcdef"},
      {"abcdef", "${GetMid2(c,1,1e300*1e300)}", "def"},
      {"abcdef", "${GetMid2(z,1,2)}", "abcdef"}}},
    {"Len",
     {{"abcdef", "${Len(xyz)}", "3"},
      {"abcdef", "${Len()}", "0"},
      {"", "${Len( a )}", "3"},
      {"", "${Len(" + kZhong + ")}", "2"}}},
    {"LineOrg", {{"abcdef", "${LineOrg()}", "abcdef"}, {"abcdef", "${lineorg(x)}", "abcdef"}}},
    {"Chs2Num",
     {{"abcdef", "${Chs2Num(\xB6\xFE\xC1\xE3\xD2\xBB\xCB\xC4)}", "2014"},  // 二零一四
      {"", "${Chs2Num(\xD2\xBB\xB0\xD9\xC1\xE3\xCE\xE5)}", "105"},         // 一百零五
      {"", "${Chs2Num(\xB6\xFE\xCA\xAE)}", "2"},                           // 二十
      {"abc", "${Chs2Num(\xCA\xAE)}", ""},                                 // 十
      {"", "${Chs2Num(\xB7\xA1\xCA\xB0\xC8\xFE)}", "23"},                  // 贰拾叁
      {"", "${Chs2Num(\xD2\xBC\xB0\xDB)}", "1\xB0\xDB"},                   // 壹佰: 佰 stays
      {"", "${Chs2Num(x\xC6\xDF)}", "x7"}}},                               // x七
    {"DateAndTime",
     {{"abc", "${Date(yyyy-mmm-dd hh:nn)}", "2024-\xC8\xFD\xD4\xC2-05 00:00"},  // 三月
      {"abc", "${Date()}", "2024/3/5"},
      {"abc", "${Time(yyyy-mm-dd hhnnss)}", "1899-12-30 070809"},
      {"abc", "${Time()}", "1899/12/30 7:08:09"}}},
    {"Big5",
     {{"\xBA\xBA\xD7\xD6", "${Gb2Big()}", "\xBA\x7E\xA6\x72"},    // 汉字 -> 漢字
      {"\xC0\x59\xBE\x76", "${Big2Gb()}", "\xCD\xB7\xB7\xA2"}}},  // 頭髮 -> 头发
    {"CallerNames",
     {{"abc", "${Sn(1,3)}", "abc"},
      {"abc", "${File(list.txt)}", "abc"},
      {"abc", "${ToUtf8()}", "abc"}}},
};

INSTANTIATE_TEST_SUITE_P(Table, FunctionTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FunctionCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tmpl
