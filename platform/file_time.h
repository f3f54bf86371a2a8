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

// A local date and time written by a date-time pattern, with the names a Chinese
// system writes (engine text):
//
//   yyyy yy          year, four or two digits
//   mmmm mmm mm m    month name ("三月" for both), two digits, digits
//   dddd ddd dd d    day name ("星期二", "周二"), two digits, digits
//   hh h             hour (12-hour when the pattern holds am/pm)
//   nn n  ss s       minute, second; "m" is always the month, even after an hour
//   zzz              milliseconds, three digits
//   am/pm            "上午" before noon, "下午" from noon on
//
// Tokens ignore letter case; the longest token at a position wins. Text in double or
// single quotes passes through without its quotes (an unclosed quote runs to the end);
// every other character passes through whole, so a trail byte is never a token. An
// empty pattern gives the short date "yyyy/m/d", followed by a blank and the long time
// "h:nn:ss" when the time is not midnight.
std::string FormatDateTime(std::string_view pattern, const LocalDateTime& t);

// 0 for Sunday to 6 for Saturday, in the Gregorian calendar.
int DayOfWeek(int year, int month, int day);

// FormatDateTime of the file time converted to local time; the file list uses
// "yyyy-mm-dd hh:nn:ss".
std::string FormatFileTime(FileTime utc, std::string_view format);

inline constexpr std::string_view kListTimeFormat = "yyyy-mm-dd hh:nn:ss";

}  // namespace platform
