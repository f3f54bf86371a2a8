#include "template/date_format.h"

#include <gtest/gtest.h>

#include <string>

namespace tmpl {
namespace {

using platform::LocalDateTime;

const LocalDateTime kMorning{2024, 3, 5, 7, 8, 9, 45};        // a Tuesday
const LocalDateTime kEvening{2009, 12, 25, 23, 59, 58, 500};  // a Friday
const LocalDateTime kNoon{2024, 3, 5, 12, 0, 0, 0};
const LocalDateTime kMidnight{2024, 1, 1, 0, 0, 0, 0};
const LocalDateTime kMidnightWithMilliseconds{2024, 1, 1, 0, 0, 0, 7};

struct FormatRow {
  const char* name;
  std::string pattern;
  LocalDateTime time;
  std::string expected;
};

const FormatRow kFormatRows[] = {
    {"numbers", "yyyy-mm-dd hh:nn:ss.zzz", kMorning, "2024-03-05 07:08:09.045"},
    {"short_numbers", "yy/m/d h:n:s", kMorning, "24/3/5 7:8:9"},
    {"letter_case_ignored", "YYYYMMDD HHNNSS", kMorning, "20240305 070809"},
    {"longest_token_wins", "yyy", kMorning, "24y"},
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
    {"milliseconds", "zzz", kEvening, "500"},
    {"single_quotes", "'mm'yyyy", kMorning, "mm2024"},
    {"double_quotes", "\"d\"d", kMorning, "d5"},
    {"unclosed_quote", "y'yyy", kMorning, "yyyy"},
    {"empty_quotes", "''", kMorning, ""},
    {"other_characters", "x-/ :,", kMorning, "x-/ :,"},
    {"chinese_separators",
     "yyyy\xC4\xEAm\xD4\xC2"
     "d\xC8\xD5",
     kMorning,
     "2024\xC4\xEA"
     "3\xD4\xC2"
     "5\xC8\xD5"},  // 年 月 日
    // A character whose trail byte is 'm' is no month.
    {"trail_byte_is_no_token", "\x81\x6Dm", kMorning,
     "\x81\x6D"
     "3"},
    {"empty_pattern", "", kMorning, "2024/3/5 7:08:09"},
    {"empty_pattern_evening", "", kEvening, "2009/12/25 23:59:58"},
    {"empty_pattern_at_midnight", "", kMidnight, "2024/1/1"},
    {"milliseconds_do_not_count_for_midnight", "", kMidnightWithMilliseconds, "2024/1/1"},
};

TEST(DateFormatTest, FormatsEachToken) {
  for (const FormatRow& row : kFormatRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FormatDatePattern(row.pattern, row.time), row.expected);
  }
}

TEST(DateFormatTest, ValuesOfDateAndTime) {
  EXPECT_EQ(FormatDatePattern("yyyy-mm-dd hh:nn:ss.zzz", DatePart(kEvening)),
            "2009-12-25 00:00:00.000");
  EXPECT_EQ(FormatDatePattern("yyyy-mm-dd hh:nn:ss.zzz", TimePart(kEvening)),
            "1899-12-30 23:59:58.500");
}

TEST(DateFormatTest, DayOfWeek) {
  EXPECT_EQ(DayOfWeek(1899, 12, 30), 6);
  EXPECT_EQ(DayOfWeek(1970, 1, 1), 4);
  EXPECT_EQ(DayOfWeek(2000, 2, 29), 2);
  EXPECT_EQ(DayOfWeek(2024, 3, 3), 0);
}

}  // namespace
}  // namespace tmpl
