#pragma once
// The page "文本行内容截取": applies one template item to chosen lines and keeps either
// what it yields (the cut) or the line without it.

#include <string>
#include <string_view>

#include "content/content_frame.h"
#include "content/line_list.h"
#include "content/worked_lines.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace content {

inline constexpr std::string_view kEnterCutFormat = "请输入内容截取格式！";
inline constexpr std::string_view kBadCutFormat = "内容截取格式不正确，请在左边选择变量或函数！";

struct CutSettings {                          // the page's fields, engine text as typed
  std::string format;                         // edtCutFormat
  bool keepCut = true;                        // rbKeepCut; false: rbKeepLeft
  WorkedLines lines = WorkedLines::WithText;  // rbCutAllLine .. rbCutKeysLine
  std::string lineNumber = "1";               // edtCutLineNo
  std::string keyword;                        // edtCutKeys
  bool backup = true;                         // chkCutBak
};

// What a run applies to every file: the trimmed format, the keyword, the line number
// (at least 1).
struct CutPlan {
  std::string format;
  bool keepCut = true;
  WorkedLines lines = WorkedLines::WithText;
  int lineNumber = 1;
  std::string keyword;
};

// `line` without the first occurrence of `cut`; unchanged when `cut` is empty or absent.
// Put together in `scratch` (which must not hold `cut`) when something is removed.
std::string_view RemoveFirst(std::string_view line, std::string_view cut, std::string& scratch);

// The page's checks in order (the format, its "${", the keyword), then the mode. Its
// Begin reads the line number whatever line choice is made; a bad one throws
// CommandError.
fileset::Prepared<ContentMode> PrepareCut(const CutSettings& settings);

// The output lines of one file: always as many as the source has.
void CutLines(const LineList& source, const CutPlan& plan, LineSink& output,
              platform::Host* host = nullptr);

// The run over the marked rows (the precondition check has passed).
fileset::RunEnd RunCut(fileset::FileList& files, const CutSettings& settings, platform::Host& host);

}  // namespace content
