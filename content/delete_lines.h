#pragma once
// The page "内容按行删除": removes lines by number and range, every M-th line of each
// group of N, lines that hold a keyword, or empty lines.

#include <string>
#include <string_view>
#include <vector>

#include "content/content_frame.h"
#include "content/line_choice.h"
#include "content/line_list.h"
#include "content/line_number_table.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace content {

inline constexpr std::string_view kDeleteKeywordsEmpty = "删除关键字为空,请输入后再试!";

struct DeleteLinesSettings {  // the page's fields, engine text as typed
  enum class By { LineNumbers, Interval, Keywords, Empty } by = By::LineNumbers;
  std::string lineNumbers = "1";  // edtDelLineNo
  std::string groupSize = "2";    // edtLines: N
  std::string position = "1";     // edtLineNum: M
  std::string keywords;           // edtDelKeys
  bool backup = true;             // chkDelLine
};

// What a run applies to every file, read from the settings.
struct DeleteLinesPlan {
  DeleteLinesSettings::By by = DeleteLinesSettings::By::LineNumbers;
  std::vector<LineRange> table;
  LineInterval interval;  // N >= 1 for the interval
  std::vector<std::string> keywords;
};

// Reads the line-number list and N and M whatever way is chosen, and the keywords;
// the number errors throw "'%s' is not a valid integer value".
DeleteLinesPlan PlanDeleteLines(const DeleteLinesSettings& settings);

// The kept lines of one file, in order. The host's messages run once per line where
// the lines are walked (no host: none).
void DeleteLines(const LineList& source, const DeleteLinesPlan& plan, LineSink& output,
                 platform::Host* host = nullptr);

// The page's checks in order (an empty keyword list; then, once the numbers are read,
// a group of fewer than one line), then the mode holding the plan.
fileset::Prepared<ContentMode> PrepareDeleteLines(const DeleteLinesSettings& settings);

// The run over the marked rows (the precondition check has passed).
fileset::RunEnd RunDeleteLines(fileset::FileList& files, const DeleteLinesSettings& settings,
                               platform::Host& host);

}  // namespace content
