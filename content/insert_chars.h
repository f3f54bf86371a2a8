#pragma once
// The page "文本行内容插入": rewrites chosen lines through a template that may hold the
// file's full path, its name and a running number filled in per file and per line.

#include <cstdint>
#include <string>
#include <string_view>

#include "content/content_frame.h"
#include "content/cut_lines.h"
#include "content/line_list.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace content {

inline constexpr std::string_view kEnterInsertFormat = "请输入内容插入格式！";
inline constexpr std::string_view kBadInsertFormat = "内容插入格式不正确，请在左边选择变量或函数！";

struct InsertSettings {                       // the page's fields, engine text as typed
  std::string format;                         // edtInsFormat
  WorkedLines lines = WorkedLines::WithText;  // rbAllLine, rbDataLine, rbInsLineNo, rbKeys
  std::string lineNumber = "1";               // edtInsLineNo
  std::string keyword;                        // edtInsKeys
  bool backup = true;                         // chkInsBak
};

// The sequence item of a format: the first "${Sn(" (any letter case) up to and with the
// next "}", in its own letter case; empty when there is none.
struct SequenceItem {
  std::string text;
  std::int64_t start = 0;
  int width = 0;
};
// Finds it and reads its start value and width (the parts before and after the first
// comma, trimmed); a part that is no decimal integer throws.
SequenceItem FindSequenceItem(std::string_view format);

// The decimal number padded on the left with zeros to `width`, with at most sixteen
// zeros; a number as long as the width or longer is never cut.
std::string ZeroFilled(std::int64_t number, int width);

// The format with ${Fullname} and ${Filename} (any letter case) replaced for one file.
std::string FileTemplate(std::string_view format, std::string_view fullPath, std::string_view name);

struct InsertPlan {
  WorkedLines lines = WorkedLines::WithText;
  int lineNumber = 1;  // at least 1
  std::string keyword;
  SequenceItem sequence;
};

// The output lines of one file from its template (FileTemplate); the running number
// starts again at the start value and counts only the lines worked on. In the
// line-number mode the sequence item gets the start value.
void InsertChars(const LineList& source, std::string_view fileTemplate, const InsertPlan& plan,
                 LineSink& output, platform::Host* host = nullptr);

RunEnd RunInsert(fileset::FileList& files, const InsertSettings& settings, platform::Host& host);

}  // namespace content
