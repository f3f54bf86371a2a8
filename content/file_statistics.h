#pragma once
// The page "文件信息统计": the size, the line counts and the line lengths of one file,
// the file list's current row. Nothing is written.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "content/line_list.h"
#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace content {

inline constexpr std::string_view kStatisticsNotMarked = "请选择需要进行统计的文件！";
inline constexpr std::string_view kStatisticsDone = "成功统计完成!";

// Lengths count bytes; every figure is 64-bit, so a file of several gigabytes shows true
// figures.
struct FileStatistics {
  std::int64_t size = 0;  // as the directory records it
  std::int64_t lines = 0;
  std::int64_t empty = 0;    // lines of no byte
  std::int64_t data = 0;     // every other line, blanks included
  std::int64_t longest = 0;  // the longest and shortest data line; 0 without one
  std::int64_t shortest = 0;
  std::int64_t average = 0;  // size / data, remainder dropped; 0 without a data line
  std::string fullPath;      // engine text, as shown
};

// The line figures of a text; size, average and path are left to the caller. Lets the
// host's messages run once per line.
FileStatistics CountLines(const LineList& text, platform::Host* host = nullptr);

// The run on the grid's current row: not marked, the error box and nothing read.
// Otherwise the start button is disabled, the size is taken from the directory (0 when
// the path names nothing), the file is loaded (failing: "Cannot open file %s", nothing
// shown), `show` gets the figures and "成功统计完成!" follows.
fileset::RunEnd RunFileStatistics(const fileset::FileList& files, int currentRow,
                                  platform::Host& host,
                                  const std::function<void(const FileStatistics&)>& show);

}  // namespace content
