#pragma once
// The page "内容插入新行": a text built anew for every file (its name, path and dates,
// one of its own lines, an optional format template) inserted as new lines at a line
// position, before every M-th line of each group of N, or before lines that hold a
// keyword.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "content/content_frame.h"
#include "content/line_choice.h"
#include "content/line_list.h"
#include "fileset/file_list.h"
#include "platform/host.h"
#include "template/clock.h"

namespace content {

inline constexpr std::string_view kInsertTextEmpty = "要插入的文字内容不能为空,请输入后再试!";
inline constexpr std::string_view kInsertKeywordsEmpty = "插入行关键字为空,请输入后再试!";

struct InsertLinesSettings {  // the page's fields, engine text as typed
  enum class At { LineNumber, Interval, Keywords } at = At::LineNumber;
  std::string text;              // mmoNewCont, its lines joined with CR LF
  std::string format;            // edtNewLineFormat
  std::string lineNumber = "0";  // edtNewLineNo: P
  std::string groupSize = "2";   // edtInsPers: N
  std::string position = "1";    // edtInsNum: M
  std::string keywords;          // edtLineKey
  bool backup = true;            // chkInsLine
};

// A line item of the text: ${LineStr(n)}, ${LineStr2(s)} or ${LineRandStr()}, as
// written from its opening to the first "}" after it, with its argument (the text
// between the opening and the item's last two characters).
struct LineItem {
  std::string text;
  std::string argument;
};

// What a run applies to every file.
struct InsertLinesPlan {
  InsertLinesSettings::At at = InsertLinesSettings::At::LineNumber;
  std::string text;             // after the escapes \t \r \n
  std::string format;           // trimmed
  std::int32_t lineNumber = 0;  // P >= 0
  LineInterval interval;        // N >= 1 for the interval
  std::vector<std::string> keywords;
  std::optional<LineItem> lineStr, lineStr2, lineRandStr;  // the first of each kind
  std::int32_t lineStrNumber = 0;                          // lineStr's argument read
};

// What the page gives before the start button is disabled: the way, P (below 0: 0), N
// and M read whatever way is chosen (a text that is not a decimal integer throws
// "'%s' is not a valid integer value"), the trimmed format.
InsertLinesPlan PlanInsertLines(const InsertLinesSettings& settings);
// The rest, read once the button is disabled: the keywords, the line items and the
// number of ${LineStr(n)} (throws as above), then the text with its escapes replaced.
void ReadInsertedText(const InsertLinesSettings& settings, InsertLinesPlan& plan);

// The first item of the kind that `opening` (lower case, "${linestr(") starts in
// `text`, letter case ignored; none when no "}" closes it.
std::optional<LineItem> FindLineItem(std::string_view text, std::string_view opening);

// The text inserted into one file: the text with the file's full path, name and dates
// (${Fullname}, ${Filename}, ${CreateDate}, ${ModifyDate}, letter case ignored), through
// the format when there is one, then the line items replaced by the file's lines where
// they exist (${LineRandStr()} picks through the host's random numbers).
std::string BuildInsertedText(const InsertLinesPlan& plan, const FileContext& file,
                              const LineList& source, const tmpl::Clock& clock,
                              platform::Host& host);

// The output lines of one file with `inserted` placed as one entry (several lines when
// it holds line breaks).
void InsertLines(const LineList& source, const InsertLinesPlan& plan, std::string_view inserted,
                 LineSink& output, platform::Host* host = nullptr);

// The page's checks in order (an empty text, the keyword choice without keywords;
// then, once P, N and M are read, a group of fewer than one line), then the mode, whose
// Begin is ReadInsertedText.
fileset::Prepared<ContentMode> PrepareInsertLines(const InsertLinesSettings& settings);

fileset::RunEnd RunInsertLines(fileset::FileList& files, const InsertLinesSettings& settings,
                               platform::Host& host);

}  // namespace content
