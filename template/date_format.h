#pragma once
// The date-time patterns of the Date and Time functions, with the names a Chinese
// system writes: the numeric tokens of platform::FormatDateTime plus month and day
// names and the half-day mark.
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

#include <string>
#include <string_view>

#include "platform/file_time.h"

namespace tmpl {

std::string FormatDatePattern(std::string_view pattern, const platform::LocalDateTime& t);

// The values the two functions format: the day at midnight, and the time of day on the
// day that time values count from, 30 December 1899.
platform::LocalDateTime DatePart(const platform::LocalDateTime& t);
platform::LocalDateTime TimePart(const platform::LocalDateTime& t);

// 0 for Sunday to 6 for Saturday, in the Gregorian calendar.
int DayOfWeek(int year, int month, int day);

}  // namespace tmpl
