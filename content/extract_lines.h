#pragma once
// The page "内容按行提取": keeps only the chosen lines of each file, in the order they
// are chosen: by numbers and ranges, every M-th line of each group of N, or lines that
// hold a keyword.

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

inline constexpr std::string_view kExtractKeywordsEmpty = "提取关键字为空,请输入后再试!";

struct ExtractLinesSettings {  // the page's fields, engine text as typed
  enum class By { LineNumbers, Interval, Keywords } by = By::LineNumbers;
  std::string lineNumbers = "1";  // edtGetLineNum
  std::string groupSize = "2";    // edtGetLines: N
  std::string position = "1";     // edtGetLineNo: M
  std::string keywords;           // edtGetKeys
  bool blankLines = true;         // chkGetNoneLine: blank lines may be taken (interval, keywords)
  bool backup = true;             // chkGetLine
};

// What a run applies to every file, read from the settings.
struct ExtractLinesPlan {
  ExtractLinesSettings::By by = ExtractLinesSettings::By::LineNumbers;
  std::vector<LineRange> table;
  LineInterval interval;  // N >= 1 for the interval
  std::vector<std::string> keywords;
  bool blankLines = true;
};

// Reads the line-number list and N and M whatever way is chosen, and the keywords; the
// number errors throw "'%s' is not a valid integer value".
ExtractLinesPlan PlanExtractLines(const ExtractLinesSettings& settings);

// The chosen lines of one file. By numbers: each entry in its typed order, each line of
// its range that the file has, a line as often as entries cover it; lines past the last
// one asked for are never read. Otherwise each line in order, a blank line (nothing but
// bytes 1-32) only when blank lines may be taken; the interval counts every line.
void ExtractLines(const LineList& source, const ExtractLinesPlan& plan, LineSink& output,
                  platform::Host* host = nullptr);

// The page's checks in order (an empty keyword field; then, once the numbers are read,
// a group of fewer than one line), then the mode holding the plan.
fileset::Prepared<ContentMode> PrepareExtractLines(const ExtractLinesSettings& settings);

fileset::RunEnd RunExtractLines(fileset::FileList& files, const ExtractLinesSettings& settings,
                                platform::Host& host);

}  // namespace content
