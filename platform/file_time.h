#pragma once
// File times: UTC seconds and nanoseconds since 1970, shown in local time.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

struct FileTime {
  std::int64_t seconds = 0;      // since 1970-01-01 00:00:00 UTC
  std::int32_t nanoseconds = 0;  // 0..999,999,999
};

struct LocalDateTime {
  int year = 1970, month = 1, day = 1;  // month 1-12, day 1-31
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

LocalDateTime ToLocal(FileTime utc);

// A day as one comparable number: year * 10000 + month * 100 + day.
inline int DayNumber(int year, int month, int day) { return year * 10000 + month * 100 + day; }
inline int DayNumber(const LocalDateTime& t) { return DayNumber(t.year, t.month, t.day); }

// Formats a local time with the tokens yyyy, yy, mm, m, dd, d, hh, h, nn, n, ss, s, zzz;
// text in double or single quotes and every other character pass through.
std::string FormatDateTime(std::string_view format, const LocalDateTime& t);

// FormatDateTime of the file time converted to local time; the file list uses
// "yyyy-mm-dd hh:nn:ss".
std::string FormatFileTime(FileTime utc, std::string_view format);

inline constexpr std::string_view kListTimeFormat = "yyyy-mm-dd hh:nn:ss";

}  // namespace platform
