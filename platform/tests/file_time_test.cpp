#include "platform/file_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace platform {
namespace {

void SetTimeZone(const char* zone) {
  setenv("TZ", zone, 1);
  tzset();
}

struct ToLocalRow {
  const char* name;
  const char* zone;
  FileTime utc;
  LocalDateTime expected;
};

const ToLocalRow kToLocalRows[] = {
    {"epoch_in_shanghai", "Asia/Shanghai", {0, 0}, {1970, 1, 1, 8, 0, 0, 0}},
    {"milliseconds_are_truncated",
     "Asia/Shanghai",
     {1700000000, 987654321},
     {2023, 11, 15, 6, 13, 20, 987}},
    {"day_changes_in_the_zone", "Asia/Shanghai", {1704038400, 0}, {2024, 1, 1, 0, 0, 0, 0}},
    {"berlin_winter", "Europe/Berlin", {1704067200, 1000000}, {2024, 1, 1, 1, 0, 0, 1}},
    {"berlin_summer_time", "Europe/Berlin", {1719792000, 0}, {2024, 7, 1, 2, 0, 0, 0}},
    {"before_1970", "UTC", {-86400, 0}, {1969, 12, 31, 0, 0, 0, 0}},
};

TEST(FileTimeTest, ToLocalUsesTheTimeZone) {
  for (const ToLocalRow& row : kToLocalRows) {
    SCOPED_TRACE(row.name);
    SetTimeZone(row.zone);
    const LocalDateTime t = ToLocal(row.utc);
    EXPECT_EQ(t.year, row.expected.year);
    EXPECT_EQ(t.month, row.expected.month);
    EXPECT_EQ(t.day, row.expected.day);
    EXPECT_EQ(t.hour, row.expected.hour);
    EXPECT_EQ(t.minute, row.expected.minute);
    EXPECT_EQ(t.second, row.expected.second);
    EXPECT_EQ(t.millisecond, row.expected.millisecond);
  }
  SetTimeZone("Asia/Shanghai");
}

struct FormatRow {
  const char* name;
  std::string pattern;
  LocalDateTime time;
  std::string expected;
};

const LocalDateTime kMorning{2024, 3, 5, 7, 8, 9, 45};        // a Tuesday
const LocalDateTime kEvening{2009, 12, 25, 23, 59, 58, 500};  // a Friday
const LocalDateTime kNoon{2024, 3, 5, 12, 0, 0, 0};
const LocalDateTime kMidnight{2024, 1, 1, 0, 0, 0, 0};
const LocalDateTime kMidnightWithMilliseconds{2024, 1, 1, 0, 0, 0, 7};

const FormatRow kFormatRows[] = {
    {"list_format", "yyyy-mm-dd hh:nn:ss", kMorning, "2024-03-05 07:08:09"},
    {"numbers", "yyyy-mm-dd hh:nn:ss.zzz", kMorning, "2024-03-05 07:08:09.045"},
    {"short_numbers", "yy/m/d h:n:s", kMorning, "24/3/5 7:8:9"},
    {"two_digit_fields", "yy m d h n s", kEvening, "09 12 25 23 59 58"},
    {"letter_case_ignored", "YYYYMMDD HHNNSS", kMorning, "20240305 070809"},
    {"greedy_yyyyy", "yyyyy", kMorning, "2024y"},
    {"longest_token_wins", "yyy", kMorning, "24y"},
    {"single_z_passes_through", "z", kMorning, "z"},
    {"month_names", "mmmm|mmm", kMorning, "\xC8\xFD\xD4\xC2|\xC8\xFD\xD4\xC2"},  // 三月
    {"december", "mmmm", kEvening, "\xCA\xAE\xB6\xFE\xD4\xC2"},                  // 十二月
    {"day_names", "dddd|ddd", kMorning,
     "\xD0\xC7\xC6\xDA\xB6\xFE|\xD6\xDC\xB6\xFE"},  // 星期二|周二
    {"friday", "dddd|ddd", kEvening, "\xD0\xC7\xC6\xDA\xCE\xE5|\xD6\xDC\xCE\xE5"},  // 星期五|周五
    {"month_after_hour", "hh:mm", kMorning, "07:03"},
    {"morning_mark", "h am/pm", kMorning, "7 \xC9\xCF\xCE\xE7"},           // 上午
    {"evening_twelve_hour", "hh AM/PM", kEvening, "11 \xCF\xC2\xCE\xE7"},  // 下午
    {"noon_is_twelve", "h am/pm", kNoon, "12 \xCF\xC2\xCE\xE7"},
    {"midnight_is_twelve", "h am/pm", kMidnight, "12 \xC9\xCF\xCE\xE7"},
    {"milliseconds", "ss.zzz", kMorning, "09.045"},
    {"single_quotes", "'mm'yyyy", kMorning, "mm2024"},
    {"double_quotes", "\"year\" d", kMorning, "year 5"},
    {"unclosed_quote_runs_to_the_end", "yyyy'mm dd", kMorning, "2024mm dd"},
    {"empty_quotes", "m''d", kMorning, "35"},
    {"other_characters", "[yyyy]#x-/ :,", kMorning, "[2024]#x-/ :,"},
    {"chinese_literals",
     "yyyy\xC4\xEAm\xD4\xC2"
     "d\xC8\xD5",
     kMorning,
     "2024\xC4\xEA"
     "3\xD4\xC2"
     "5\xC8\xD5"},  // 年 月 日
    // The trail bytes 'm' and 'M' belong to their characters and are no tokens.
    {"trail_bytes_are_not_tokens", "\xB2\x6D\xB2\x4D-d", kMorning, "\xB2\x6D\xB2\x4D-5"},
    {"empty_pattern", "", kMorning, "2024/3/5 7:08:09"},
    {"empty_pattern_evening", "", kEvening, "2009/12/25 23:59:58"},
    {"empty_pattern_at_midnight", "", kMidnight, "2024/1/1"},
    {"milliseconds_do_not_count_for_midnight", "", kMidnightWithMilliseconds, "2024/1/1"},
};

TEST(FileTimeTest, FormatDateTimeTokens) {
  for (const FormatRow& row : kFormatRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FormatDateTime(row.pattern, row.time), row.expected);
  }
}

TEST(FileTimeTest, DayOfWeek) {
  EXPECT_EQ(DayOfWeek(1899, 12, 30), 6);
  EXPECT_EQ(DayOfWeek(1970, 1, 1), 4);
  EXPECT_EQ(DayOfWeek(2000, 2, 29), 2);
  EXPECT_EQ(DayOfWeek(2024, 3, 3), 0);
}

TEST(FileTimeTest, FourDigitYearIsPadded) {
  EXPECT_EQ(FormatDateTime("yyyy yy", LocalDateTime{987, 1, 1, 0, 0, 0, 0}), "0987 87");
}

TEST(FileTimeTest, FormatFileTimeShowsLocalTime) {
  SetTimeZone("Asia/Shanghai");
  EXPECT_EQ(FormatFileTime(FileTime{0, 0}, kListTimeFormat), "1970-01-01 08:00:00");
  EXPECT_EQ(FormatFileTime(FileTime{1700000000, 987654321}, "yyyy-mm-dd hh:nn:ss.zzz"),
            "2023-11-15 06:13:20.987");
}

}  // namespace
}  // namespace platform
