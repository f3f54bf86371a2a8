#include "fileops/change_dates.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace fileops {
namespace {

using platform::FileTime;
using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

// Every expectation below is in the local time of this zone (UTC+8, no summer time).
void FixTimeZone() {
  setenv("TZ", "Asia/Shanghai", 1);
  tzset();
}

// "yyyy-mm-dd hh:nn:ss" or "yyyy-mm-dd hh:nn:ss.zzz", local time.
FileTime Local(const char* text) {
  platform::LocalDateTime t;
  std::sscanf(text, "%d-%d-%d %d:%d:%d.%d", &t.year, &t.month, &t.day, &t.hour, &t.minute,
              &t.second, &t.millisecond);
  return platform::LocalToFileTime(t);
}

std::string Show(FileTime t) {
  return platform::FormatFileTime(t, "yyyy-mm-dd hh:nn:ss.zzz") +
         (t.nanoseconds % 1'000'000 != 0 ? " +ns" : "");
}

class DatesTest : public ::testing::Test {
 protected:
  void SetUp() override { FixTimeZone(); }
};

using NewTimestampTest = DatesTest;

TEST_F(NewTimestampTest, PlansOnlyTheChosenTimesInWholeLocalSeconds) {
  platform::FileTimes current;
  current.creation = Local("2010-10-10 10:10:10");
  current.lastAccess = FileTime{Local("2019-01-01 01:01:01").seconds, 500'000'123};  // 31st in UTC
  current.lastWrite = Local("2019-05-06 13:14:15.678");
  struct Case {
    const char* name;
    ChangeDatesSettings settings;
    const char* access;  // nullptr: nothing to write
    const char* write;
  };
  ChangeDatesSettings modify, access, both, timeOnly, create, createAndModify, nothing;
  modify.modify = true;
  modify.modifyDate = {2020, 1, 2};
  access.access = true;
  access.accessDate = {2021, 3, 4};
  both = modify;
  both.access = true;
  both.accessDate = {2021, 3, 4};
  both.time = true;
  both.timeOfDay = {8, 0, 0, 0};
  timeOnly.time = true;
  timeOnly.timeOfDay = {6, 7, 8, 250};
  create.create = true;
  createAndModify = modify;
  createAndModify.create = true;
  const Case cases[] = {
      {"modification only; access as read, to the nanosecond", modify,
       "2019-01-01 01:01:01.500 +ns", "2020-01-02 13:14:15.000"},
      {"access only", access, "2021-03-04 01:01:01.000", "2019-05-06 13:14:15.678"},
      {"both with the time picker", both, "2021-03-04 08:00:00.000", "2020-01-02 08:00:00.000"},
      {"time only: local dates kept, milliseconds taken", timeOnly, "2019-01-01 06:07:08.250",
       "2019-05-06 06:07:08.250"},
      {"a creation date cannot be written", create, nullptr, nullptr},
      {"not even beside another date", createAndModify, nullptr, nullptr},
      {"nothing chosen", nothing, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<NewTimes> times = PlanNewTimes(current, c.settings);
    ASSERT_EQ(times.has_value(), c.access != nullptr);
    if (!times) continue;
    EXPECT_EQ(Show(times->lastAccess), c.access);
    EXPECT_EQ(Show(times->lastWrite), c.write);
  }
}

TEST(RefreshedTimeCell, JoinsThePickerDateWithTheOldOrThePickedTime) {
  struct Case {
    const char* oldCell;
    std::optional<TimeOfDay> time;
    const char* expected;  // the cell, or the error text
  } const cases[] = {
      {"2019-05-06 13:14:15", std::nullopt, "2020-01-02 13:14:15"},
      {"2019-05-06 13:14:15", TimeOfDay{8, 0, 0, 0}, "2020-01-02 08:00:00"},
      {"", TimeOfDay{23, 59, 58, 999}, "2020-01-02 23:59:58"},  // no need of the old cell
      {"2019-05-06 1:2", std::nullopt, "2020-01-02 01:02:00"},
      {"2019-05-06  13:14:15.5 ", std::nullopt, "2020-01-02 13:14:15"},
      {"2019-05-06", std::nullopt, "'2020-01-02 ' is not a valid date and time"},
      {"2019-05-06 24:00:00", std::nullopt, "'2020-01-02 24:00:00' is not a valid date and time"},
      {"2019-05-06 \xCA\xB1\xBC\xE4", std::nullopt,  // engine text, shown as UTF-8
       "'2020-01-02 时间' is not a valid date and time"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.oldCell);
    std::string result;
    try {
      result = RefreshedTimeCell(c.oldCell, {2020, 1, 2}, c.time ? &*c.time : nullptr);
    } catch (const platform::CommandError& error) {
      result = error.what();
    }
    EXPECT_EQ(result, c.expected);
  }
}

class ChangeDatesRun : public DatesTest {
 protected:
  // A marked row for a new file of the temp folder with these times; its date cells
  // show the times as the search would.
  std::string List(const char* name, const char* modified, const char* accessed,
                   bool marked = true) {
    const std::string path = temp_.Write(name, name);
    SetTimes(path, Local(accessed), Local(modified));
    files_.AppendFileRow({platform::Utf8ToEngine(name), temp_.Path(), "1", "2000-01-01 00:00:00",
                          platform::FormatFileTime(Local(modified), platform::kListTimeFormat),
                          ".txt"});
    files_.SetMark(files_.RowCount() - 1, marked);
    return path;
  }
  static void SetTimes(const std::string& path, FileTime access, FileTime write) {
    const timespec times[2] = {{access.seconds, access.nanoseconds},
                               {write.seconds, write.nanoseconds}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }
  // "modified | accessed" of a path, local time.
  static std::string TimesOf(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return "(missing)";
    return Show({st.st_mtim.tv_sec, static_cast<std::int32_t>(st.st_mtim.tv_nsec)}) + " | " +
           Show({st.st_atim.tv_sec, static_cast<std::int32_t>(st.st_atim.tv_nsec)});
  }
  Texts Column(int column) const {
    Texts cells;
    for (int row = 1; row < files_.RowCount(); ++row) cells.push_back(files_.Cell(row, column));
    return cells;
  }

  TempFolder temp_;
  fileset::FileList files_;
  RecordingHost host_;
};

TEST_F(ChangeDatesRun, FoldersGetTheirTimesButAreNotCounted) {
  const std::string sub = temp_.MakeFolder("sub");
  const std::string file = temp_.Write("sub/x.txt", "x");
  SetTimes(file, Local("2018-01-01 01:01:01"), Local("2019-05-06 13:14:15"));
  SetTimes(sub, Local("2018-02-02 02:02:02"), Local("2019-06-06 16:16:16"));
  files_.AppendFileRow(
      {"x.txt", platform::Utf8ToEngine(sub), "1", "", "2019-05-06 13:14:15", ".txt"});
  files_.SetMark(1, true);
  ChangeDatesSettings settings;
  settings.modify = true;
  settings.modifyDate = {2020, 1, 2};
  settings.folders = true;
  RunChangeDates(files_, settings, host_);
  EXPECT_EQ(TimesOf(sub), "2020-01-02 16:16:16.000 | 2018-02-02 02:02:02.000");
  EXPECT_EQ(TimesOf(file), "2020-01-02 13:14:15.000 | 2018-01-01 01:01:01.000");
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理文件总数量：1"}));
}

// A date the file system cannot hold is kept as the nearest it can; the list shows that,
// not the date that was asked for.
TEST_F(ChangeDatesRun, TheListShowsTheDateTheFileSystemHolds) {
  for (const CalendarDate date :
       {CalendarDate{1800, 1, 1}, CalendarDate{2600, 1, 1}, CalendarDate{2020, 1, 2}}) {
    SCOPED_TRACE(date.year);
    files_.Reset();
    const std::string a = List("a.txt", "2019-05-06 13:14:15", "2018-01-01 01:01:01");
    ChangeDatesSettings settings;
    settings.modify = true;
    settings.modifyDate = date;
    RunChangeDates(files_, settings, host_);
    const std::optional<platform::FileTimes> held =
        platform::ReadFileTimes(platform::NativePath(a));
    ASSERT_TRUE(held.has_value());
    EXPECT_EQ(Column(fileset::kModifiedColumn),
              Texts{platform::FormatFileTime(held->lastWrite, platform::kListTimeFormat)});
  }
}

TEST_F(ChangeDatesRun, ACellWithoutATimeEndsTheRunThere) {
  const std::string a = List("a.txt", "2019-05-06 13:14:15", "2018-01-01 01:01:01");
  const std::string b = List("b.txt", "2019-05-06 13:14:15", "2018-01-01 01:01:01");
  const std::string c = List("c.txt", "2019-05-06 13:14:15", "2018-01-01 01:01:01");
  files_.SetCell(2, fileset::kModifiedColumn, "2019-05-06");
  ChangeDatesSettings settings;
  settings.modify = true;
  settings.modifyDate = {2020, 1, 2};
  EXPECT_THROW(
      {
        try {
          RunChangeDates(files_, settings, host_);
        } catch (const platform::CommandError& error) {
          EXPECT_STREQ(error.what(), "'2020-01-02 ' is not a valid date and time");
          throw;
        }
      },
      platform::CommandError);
  // The file of the row that failed has its new time already; the rest is untouched.
  EXPECT_EQ(TimesOf(a), "2020-01-02 13:14:15.000 | 2018-01-01 01:01:01.000");
  EXPECT_EQ(TimesOf(b), "2020-01-02 13:14:15.000 | 2018-01-01 01:01:01.000");
  EXPECT_EQ(TimesOf(c), "2019-05-06 13:14:15.000 | 2018-01-01 01:01:01.000");
  EXPECT_EQ(Column(fileset::kModifiedColumn),
            (Texts{"2020-01-02 13:14:15", "2019-05-06", "2019-05-06 13:14:15"}));
  EXPECT_EQ(host_.Count(platform::Counter::Change), 2);
  EXPECT_TRUE(host_.boxes.empty());
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace fileops
