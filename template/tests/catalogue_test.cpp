#include "template/catalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/code_page.h"

namespace tmpl {
namespace {

struct EntryRow {
  std::size_t index;
  std::string_view text;
  std::string_view inserted;
};

const EntryRow kEntryRows[] = {
    {0, "${Ext}: 原扩展名", "${Ext}"},
    {1, "${Filename}: 原文件名", "${Filename}"},
    {2, "${Fullname}: 原完整文件名", "${Fullname}"},
    {3, "${Date(yyyymmdd)}: 日期格式", "${Date(yyyy-mmm-dd)}"},
    {4, "${Time(hhnnss)}: 时间格式", "${Time(hh:nn:ss)}"},
    {5, "${Sn(10,n)}: 从10开始的序号", "${Sn(开始序号,长度)}"},
    {6, "${LastDir}: 最后一级目录名", "${LastDir}"},
    {7, "${DelStr(s)}: 删除设定字符", "${DelStr(要删除的字符)}"},
    {8, "${DelRange(s1,s2)}: 删除字符范围", "${DelRange(要删除的开始字符,要删除的结束字符)}"},
    {9, "${DelLeft(n)}: 删除左边字符", "${DelLeft(从左边开始删除的字符数量)}"},
    {10, "${DelRight(n)}: 删除右边字符", "${DelRight(从右边开始删除的字符数量)}"},
    {11, "${DelMid(n1,n2)}: 删除中间字符", "${DelMid(要删除的字符开始位置,要删除的字符数量)}"},
    {12, "${RepStr(s1,s2)}: 替换字符", "${RepStr(要替换的原字符,替换的新字符)}"},
    {13, "${AddLeft(s)}: 左边添加字符", "${AddLeft(从左边开始添加的字符)}"},
    {14, "${AddRight(s)}: 右边添加字符", "${AddRight(从右边开始添加的字符)}"},
    {15, "${AddMid(n,s)}: 中间添加字符", "${AddMid(要添加的字符开始位置,要添加的字符)}"},
    {16, "${File(s)}: 文件中字符命名", "${File(文本文件名称)}"},
    {17, "${File2(s)}: 文件中字符替换命名", "${File2(文本文件名称)}"},
    {18, "${GetLeft(n)}: 从左边获取字符", "${GetLeft(从左边开始获取的字符数量)}"},
    {19, "${GetRight(n)}: 从右边获取字符", "${GetRight(从右边开始获取的字符数量)}"},
    {20, "${GetMid(n1,n2)}: 从中间获取字符", "${GetMid(要获取的字符开始位置,要获取的字符数量)}"},
    {21, "${GetStr(s,n)}: 单关键字获取字符", "${GetStr(要获取的字符关键字,要获取的字符数量)}"},
    {22, "${GetStr2(s1,s2)}: 双关键字获取字符", "${GetStr2(要获取的开始字符,要获取的结束字符)}"},
    {23, "${AddMid2(s1,n,s2)}: 关键字位置添加字符",
     "${AddMid2(要添加的字符关键字,偏移量,要添加的字符)}"},
    {24, "${NewLine(n)}: 按位置换行", "${NewLine(要换行的字符数量)}"},
    {25, "${LineStr(n)}: 指定行的字符", "${LineStr(获取字符行的行号)}"},
    {26, "${LineStr2(s)}: 指定关键字行的字符", "${LineStr2(获取字符行的关键字)}"},
    {27, "${Xchg(s1,s2)}: 交换字符", "${Xchg(要交换的字符1,要交换的字符2)}"},
    {28, "${LineRandStr()}: 随机行的字符", "${LineRandStr()}"},
    {29, "${DelStrL(s)}: 删除关键字左边字符", "${DelStrL(要删除左边字符的关键字)}"},
    {30, "${DelStrR(s)}: 删除关键字右边字符", "${DelStrR(要删除右边字符的关键字)}"},
    {31, "${Pos(s)}: 获取关键字的位置", "${Pos(要获取位置的关键字)}"},
    {32, "${GetMid2(s,n1,n2)}: 关键字位置获取字符",
     "${GetMid2(要获取位置的关键字,偏移量,要获取的字符数量)}"},
    {33, "${XlsTo(s)}: Excel转换为", "${XlsTo(新的扩展名)}"},
    {34, "${CsvTo(s)}: Csv转换为", "${CsvTo(新的扩展名)}"},
    {35, "${TxtTo(s)}: Text转换为", "${TxtTo(新的扩展名)}"},
    {36, "${VcfTo(s)}: Vcf转换为", "${VcfTo(新的扩展名)}"},
    {37, "${Len(s)}: 获取字符的长度", "${Len(要获取长度的字符)}"},
    {38, "${LineOrg()}: 当前行的字符", "${LineOrg()}"},
    {39, "${Chs2Num(s)}: 中文数字转阿拉伯数字", "${Chs2Num(需要转换的字符)}"},
    {40, "${ToUtf8()}: 文件内容转换为UTF8编码", "${ToUtf8()}"},
    {41, "${ToAnsi()}: 文件内容转换为ANSI编码", "${ToAnsi()}"},
    {42, "${CreateDate}: 原文件创建日期", "${CreateDate}"},
    {43, "${ModifyDate}: 原文件修改日期", "${ModifyDate}"},
};

TEST(CatalogueTest, EntriesInListOrderWithTheirInsertedText) {
  const auto entries = CatalogueEntries();
  ASSERT_EQ(entries.size(), std::size(kEntryRows));
  for (const EntryRow& row : kEntryRows) {
    SCOPED_TRACE(row.index);
    EXPECT_EQ(entries[row.index].text, row.text);
    EXPECT_EQ(entries[row.index].inserted, row.inserted);
  }
}

struct ItemRow {
  const char* name;
  std::string_view entryText;
  std::string_view expected;
};

const ItemRow kItemRows[] = {
    {"cut_after_the_brace", "${Ext}: 原扩展名", "${Ext}"},
    {"colons_inside_the_item_stay", "${Time(hh:nn:ss)}: 时间", "${Time(hh:nn:ss)}"},
    {"brace_without_colon_is_no_end", "${Sn(1,3)}_${Ext}: 序号", "${Sn(1,3)}_${Ext}"},
    {"first_of_two_ends", "${Ext}: a}: b", "${Ext}"},
    {"blank_before_the_colon_is_no_end", "${Ext} : 原扩展名", "${Ext} : 原扩展名"},
    {"no_end_keeps_everything", "${Ext}", "${Ext}"},
};

TEST(CatalogueTest, ItemEndsAtTheFirstBraceFollowedByAColon) {
  for (const ItemRow& row : kItemRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(CatalogueItem(row.entryText), row.expected);
  }
}

// Texts are written in UTF-8 and turned into engine text; positions are engine bytes,
// two for each Chinese character.
struct InsertRow {
  const char* name;
  std::string text;
  std::size_t caret, selectionStart, selectionLength;
  std::string insert;
  std::string expected;
  std::size_t expectedCaret;
};

const InsertRow kInsertRows[] = {
    {"caret_at_start", "abc", 0, 0, 0, "${Ext}", "${Ext}abc", 6},
    {"caret_in_middle", "ab", 1, 1, 0, "${Ext}", "a${Ext}b", 7},
    {"caret_at_end", "${Filename}_", 12, 12, 0, "${Sn(开始序号,长度)}",
     "${Filename}_${Sn(开始序号,长度)}", 32},
    {"caret_past_the_end_is_the_end", "ab", 5, 0, 0, "${Ext}", "ab${Ext}", 8},
    {"empty_edit", "", 0, 0, 0, "${Ext}", "${Ext}", 6},
    {"chinese_around_the_caret", "文件名", 4, 4, 0, "${Ext}", "文件${Ext}名", 10},
    {"selection_replaced_everywhere_ignoring_case", "abc-ABC", 3, 0, 3, "${Filename}",
     "${Filename}-${Filename}", 11},
    {"caret_follows_the_selection_not_the_old_caret", "abc-ABC", 0, 4, 3, "${Filename}",
     "${Filename}-${Filename}", 23},
    {"occurrences_on_both_sides", "ab-AB-aB", 5, 3, 2, "${Ext}", "${Ext}-${Ext}-${Ext}", 13},
    {"selection_found_nowhere_else", "x_abc_y", 5, 2, 3, "${Ext}", "x_${Ext}_y", 8},
    {"chinese_selection", "文件-文件.txt", 4, 0, 4, "${Ext}", "${Ext}-${Ext}.txt", 6},
    {"full_width_letters_ignore_case", "ＡＢ-ａｂ", 4, 0, 4, "${Ext}", "${Ext}-${Ext}", 6},
    // The second byte of 丄 is "A"; it is no occurrence of a selected "A".
    {"letter_inside_a_chinese_character", "丄-A", 4, 3, 1, "${Ext}", "丄-${Ext}", 9},
    {"selection_wins_over_an_overlapping_occurrence", "aaa", 3, 1, 2, "${Ext}", "a${Ext}", 7},
    {"selection_running_past_the_end_is_cut", "abc", 3, 1, 9, "${Ext}", "a${Ext}", 7},
};

TEST(CatalogueTest, InsertCatalogueText) {
  for (const InsertRow& row : kInsertRows) {
    SCOPED_TRACE(row.name);
    const CatalogueInsertion result =
        InsertCatalogueText(platform::Utf8ToEngine(row.text), row.caret, row.selectionStart,
                            row.selectionLength, platform::Utf8ToEngine(row.insert));
    EXPECT_EQ(platform::EngineToUtf8(result.text), row.expected);
    EXPECT_EQ(result.caret, row.expectedCaret);
  }
}

}  // namespace
}  // namespace tmpl
