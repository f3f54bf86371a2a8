#include "template/catalogue.h"

#include <algorithm>
#include <array>

#include "platform/engine_text.h"

namespace tmpl {
namespace {

// An entry whose item is inserted as it stands.
constexpr CatalogueEntry Item(std::string_view text) { return {text, CatalogueItem(text)}; }

// An entry that inserts a pattern in place of its item: arguments named in words, or a
// date or time format that is easier to read than the one the list shows.
constexpr CatalogueEntry Pattern(std::string_view text, std::string_view pattern) {
  return {text, pattern};
}

constexpr std::array kEntries = {
    Item("${Ext}: 原扩展名"),                                          // 0
    Item("${Filename}: 原文件名"),                                     // 1
    Item("${Fullname}: 原完整文件名"),                                 // 2
    Pattern("${Date(yyyymmdd)}: 日期格式", "${Date(yyyy-mmm-dd)}"),    // 3
    Pattern("${Time(hhnnss)}: 时间格式", "${Time(hh:nn:ss)}"),         // 4
    Pattern("${Sn(10,n)}: 从10开始的序号", "${Sn(开始序号,长度)}"),    // 5
    Item("${LastDir}: 最后一级目录名"),                                // 6
    Pattern("${DelStr(s)}: 删除设定字符", "${DelStr(要删除的字符)}"),  // 7
    Pattern("${DelRange(s1,s2)}: 删除字符范围",
            "${DelRange(要删除的开始字符,要删除的结束字符)}"),                         // 8
    Pattern("${DelLeft(n)}: 删除左边字符", "${DelLeft(从左边开始删除的字符数量)}"),    // 9
    Pattern("${DelRight(n)}: 删除右边字符", "${DelRight(从右边开始删除的字符数量)}"),  // 10
    Pattern("${DelMid(n1,n2)}: 删除中间字符",
            "${DelMid(要删除的字符开始位置,要删除的字符数量)}"),                              // 11
    Pattern("${RepStr(s1,s2)}: 替换字符", "${RepStr(要替换的原字符,替换的新字符)}"),          // 12
    Pattern("${AddLeft(s)}: 左边添加字符", "${AddLeft(从左边开始添加的字符)}"),               // 13
    Pattern("${AddRight(s)}: 右边添加字符", "${AddRight(从右边开始添加的字符)}"),             // 14
    Pattern("${AddMid(n,s)}: 中间添加字符", "${AddMid(要添加的字符开始位置,要添加的字符)}"),  // 15
    Pattern("${File(s)}: 文件中字符命名", "${File(文本文件名称)}"),                           // 16
    Pattern("${File2(s)}: 文件中字符替换命名", "${File2(文本文件名称)}"),                     // 17
    Pattern("${GetLeft(n)}: 从左边获取字符", "${GetLeft(从左边开始获取的字符数量)}"),         // 18
    Pattern("${GetRight(n)}: 从右边获取字符", "${GetRight(从右边开始获取的字符数量)}"),       // 19
    Pattern("${GetMid(n1,n2)}: 从中间获取字符",
            "${GetMid(要获取的字符开始位置,要获取的字符数量)}"),  // 20
    Pattern("${GetStr(s,n)}: 单关键字获取字符",
            "${GetStr(要获取的字符关键字,要获取的字符数量)}"),  // 21
    Pattern("${GetStr2(s1,s2)}: 双关键字获取字符",
            "${GetStr2(要获取的开始字符,要获取的结束字符)}"),  // 22
    Pattern("${AddMid2(s1,n,s2)}: 关键字位置添加字符",
            "${AddMid2(要添加的字符关键字,偏移量,要添加的字符)}"),                       // 23
    Pattern("${NewLine(n)}: 按位置换行", "${NewLine(要换行的字符数量)}"),                // 24
    Pattern("${LineStr(n)}: 指定行的字符", "${LineStr(获取字符行的行号)}"),              // 25
    Pattern("${LineStr2(s)}: 指定关键字行的字符", "${LineStr2(获取字符行的关键字)}"),    // 26
    Pattern("${Xchg(s1,s2)}: 交换字符", "${Xchg(要交换的字符1,要交换的字符2)}"),         // 27
    Item("${LineRandStr()}: 随机行的字符"),                                              // 28
    Pattern("${DelStrL(s)}: 删除关键字左边字符", "${DelStrL(要删除左边字符的关键字)}"),  // 29
    Pattern("${DelStrR(s)}: 删除关键字右边字符", "${DelStrR(要删除右边字符的关键字)}"),  // 30
    Pattern("${Pos(s)}: 获取关键字的位置", "${Pos(要获取位置的关键字)}"),                // 31
    Pattern("${GetMid2(s,n1,n2)}: 关键字位置获取字符",
            "${GetMid2(要获取位置的关键字,偏移量,要获取的字符数量)}"),             // 32
    Pattern("${XlsTo(s)}: Excel转换为", "${XlsTo(新的扩展名)}"),                   // 33
    Pattern("${CsvTo(s)}: Csv转换为", "${CsvTo(新的扩展名)}"),                     // 34
    Pattern("${TxtTo(s)}: Text转换为", "${TxtTo(新的扩展名)}"),                    // 35
    Pattern("${VcfTo(s)}: Vcf转换为", "${VcfTo(新的扩展名)}"),                     // 36
    Pattern("${Len(s)}: 获取字符的长度", "${Len(要获取长度的字符)}"),              // 37
    Item("${LineOrg()}: 当前行的字符"),                                            // 38
    Pattern("${Chs2Num(s)}: 中文数字转阿拉伯数字", "${Chs2Num(需要转换的字符)}"),  // 39
    Item("${ToUtf8()}: 文件内容转换为UTF8编码"),                                   // 40
    Item("${ToAnsi()}: 文件内容转换为ANSI编码"),                                   // 41
    Item("${CreateDate}: 原文件创建日期"),                                         // 42
    Item("${ModifyDate}: 原文件修改日期"),                                         // 43
};
static_assert(kEntries.size() == 44);

}  // namespace

std::span<const CatalogueEntry> CatalogueEntries() { return kEntries; }

CatalogueInsertion InsertCatalogueText(std::string_view text, std::size_t caret,
                                       std::size_t selectionStart, std::size_t selectionLength,
                                       std::string_view insert) {
  selectionStart = std::min(selectionStart, text.size());
  selectionLength = std::min(selectionLength, text.size() - selectionStart);
  if (selectionLength == 0) {
    caret = std::min(caret, text.size());
    std::string result(text.substr(0, caret));
    result += insert;
    result += text.substr(caret);
    return {std::move(result), caret + insert.size()};
  }
  // The text left and right of the selection is replaced apart from the selection
  // itself, so the selection is replaced even when an occurrence to its left overlaps
  // it ("aa" selected at the second "a" of "aaa"), and the caret's place is known.
  const std::string_view selected = text.substr(selectionStart, selectionLength);
  std::string result = platform::ReplaceAllNoCase(text.substr(0, selectionStart), selected, insert);
  result += insert;
  const std::size_t caretAfter = result.size();
  result +=
      platform::ReplaceAllNoCase(text.substr(selectionStart + selectionLength), selected, insert);
  return {std::move(result), caretAfter};
}

}  // namespace tmpl
