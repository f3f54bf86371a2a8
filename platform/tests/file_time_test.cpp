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
  std::string format;
  std::string expected;
};

// 2024-03-05 07:08:09.045 and 2009-12-25 23:59:58.500
const LocalDateTime kMorning{2024, 3, 5, 7, 8, 9, 45};
const LocalDateTime kEvening{2009, 12, 25, 23, 59, 58, 500};

const FormatRow kMorningRows[] = {
    {"list_format", "yyyy-mm-dd hh:nn:ss", "2024-03-05 07:08:09"},
    {"short_tokens", "yy/m/d h:n:s", "24/3/5 7:8:9"},
    {"milliseconds", "ss.zzz", "09.045"},
    {"tokens_ignore_case", "YYYY-MM-DD HH:NN:SS", "2024-03-05 07:08:09"},
    {"mm_after_hours_is_still_the_month", "hh:mm", "07:03"},
    {"greedy_yyyyy", "yyyyy", "2024y"},
    {"three_y_are_yy_and_a_y", "yyy", "24y"},
    {"three_m_are_mm_and_m", "mmm", "033"},
    {"single_z_passes_through", "z", "z"},
    {"double_quotes", "\"year\" yyyy", "year 2024"},
    {"single_quotes", "'d' d", "d 5"},
    {"unclosed_quote_runs_to_the_end", "yyyy'mm dd", "2024mm dd"},
    {"empty_quotes", "m''d", "35"},
    {"other_characters", "[yyyy]#", "[2024]#"},
    {"chinese_literals",
     "yyyy\xC4\xEAm\xD4\xC2"
     "d\xC8\xD5",
     "2024\xC4\xEA"
     "3\xD4\xC2"
     "5\xC8\xD5"},
    // The trail bytes 'm' and 'M' belong to their characters and are no tokens.
    {"trail_bytes_are_not_tokens", "\xB2\x6D\xB2\x4D-d", "\xB2\x6D\xB2\x4D-5"},
    {"empty_format", "", ""},
};

const FormatRow kEveningRows[] = {
    {"two_digit_fields", "yy m d h n s", "09 12 25 23 59 58"},
    {"milliseconds", "zzz", "500"},
};

TEST(FileTimeTest, FormatDateTimeTokens) {
  for (const FormatRow& row : kMorningRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FormatDateTime(row.format, kMorning), row.expected);
  }
  for (const FormatRow& row : kEveningRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FormatDateTime(row.format, kEvening), row.expected);
  }
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
