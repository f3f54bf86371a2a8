#pragma once
// Which lines the cut and insert modes work on.

#include <optional>
#include <string_view>

#include "fileset/batch_run.h"

namespace content {

enum class WorkedLines { All, WithText, LineNumber, WithKeyword };

// Whether a line is worked on by the all / with-text / with-keyword choices (a line of
// blanks has text; the keyword is a byte-exact substring). The line-number choice works
// on one line by its number instead, so it answers false here.
inline bool IsWorkedLine(std::string_view line, WorkedLines lines, std::string_view keyword) {
  switch (lines) {
    case WorkedLines::All:
      return true;
    case WorkedLines::WithText:
      return !line.empty();
    case WorkedLines::WithKeyword:
      return line.find(keyword) != std::string_view::npos;
    case WorkedLines::LineNumber:
      break;
  }
  return false;
}

// The message of a keyword choice with an empty keyword, on both pages.
inline constexpr std::string_view kKeywordEmpty = "关键字不能为空，请输入后再试！";

// The checks both pages make, in order: an empty format (`enterFormat`), a format
// without "${" (`badFormat`), the keyword choice without a keyword. `format` is trimmed.
inline std::optional<fileset::Refusal> CheckLineFormat(std::string_view format, WorkedLines lines,
                                                       std::string_view keyword,
                                                       std::string_view enterFormat,
                                                       std::string_view badFormat) {
  if (format.empty()) return fileset::Refusal{enterFormat, {}};
  if (format.find("${") == std::string_view::npos) return fileset::Refusal{badFormat, {}};
  if (lines == WorkedLines::WithKeyword && keyword.empty())
    return fileset::Refusal{kKeywordEmpty, {}};
  return std::nullopt;
}

}  // namespace content
