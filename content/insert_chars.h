#pragma once
// The page "文本行内容插入": rewrites chosen lines through a template that may hold the
// file's full path, its name and a running number filled in per file and per line.

#include <optional>
#include <string>
#include <string_view>

#include "content/content_frame.h"
#include "content/file_variables.h"
#include "content/line_list.h"
#include "content/worked_lines.h"
#include "fileset/file_list.h"
#include "platform/host.h"
#include "template/sequence_item.h"

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

// What a run applies to every file.
struct InsertPlan {
  WorkedLines lines = WorkedLines::WithText;
  int lineNumber = 1;  // at least 1
  std::string keyword;
  std::optional<tmpl::SequenceItem> sequence;
  std::string format;  // trimmed; each file puts its own path and name in (FileTemplate)
};

// The page's checks in order (the format, its "${", the keyword), then the mode. Its
// Begin reads the line number, then the sequence item; a bad number throws
// CommandError.
fileset::Prepared<ContentMode> PrepareInsert(const InsertSettings& settings);

// The output lines of one file from its template (FileTemplate); the running number
// starts again at the start value and counts only the lines worked on. In the
// line-number mode the sequence item gets the start value.
void InsertChars(const LineList& source, std::string_view fileTemplate, const InsertPlan& plan,
                 LineSink& output, platform::Host* host = nullptr);

fileset::RunEnd RunInsert(fileset::FileList& files, const InsertSettings& settings,
                          platform::Host& host);

}  // namespace content
