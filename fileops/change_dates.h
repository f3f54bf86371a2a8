#pragma once
// Gives every marked file (and, when asked, its folder) new modification and access
// times. Dates are reckoned in local time and set in whole seconds. This platform
// cannot set a creation time, so a run that asks for one is refused.

#include <optional>
#include <string>
#include <string_view>

#include "fileops/file_operation_frame.h"
#include "fileset/file_list.h"
#include "platform/file_attributes.h"
#include "platform/host.h"

namespace fileops {

inline constexpr std::string_view kChooseNewDateOrTime = "请选择新的日期或时间！";
inline constexpr std::string_view kCreationDateCannotBeSet =
    "此系统不能修改文件的创建日期，请取消“创建日期”后再试！";

struct CalendarDate {
  int year = 1970, month = 1, day = 1;
};

struct TimeOfDay {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

struct ChangeDatesSettings {  // the page's fields
  bool modify = false;        // ckModify
  CalendarDate modifyDate;    // dtModify
  bool create = false;        // ckCreate
  CalendarDate createDate;    // dtCreate
  bool access = false;        // ckAccess
  CalendarDate accessDate;    // dtAccess
  bool time = false;          // chkTime
  TimeOfDay timeOfDay;        // dtpTime
  bool folders = false;       // chkDirDate
};

// One chosen timestamp: the picker's date with the picker's time of day when there is
// one, else with the timestamp's own local time of day; whole seconds only.
platform::FileTime NewTimestamp(platform::FileTime current, CalendarDate date,
                                const TimeOfDay* time);

// The time-only change: the timestamp keeps its local date and takes the time of day,
// milliseconds included.
platform::FileTime WithTimeOfDay(platform::FileTime current, const TimeOfDay& time);

// The access and modification times to write for a path whose times are `current`, a
// time that was not chosen as it was read; empty when the settings change nothing that
// can be written (a creation date cannot, so settings that ask for one change nothing).
struct NewTimes {
  platform::FileTime lastAccess;
  platform::FileTime lastWrite;
};
std::optional<NewTimes> PlanNewTimes(const platform::FileTimes& current,
                                     const ChangeDatesSettings& settings);

// The change of one file's or folder's times, from the times it has now; empty when
// they cannot be read or the settings change nothing. A read-only file is not opened to
// change its times, so it gets none.
enum class PathKind { File, Folder };
std::optional<TimesChange> PlanTimesChange(const platform::NativePath& path, PathKind kind,
                                           const ChangeDatesSettings& settings);

// A time column after the change: the picker's date joined with the time of day (the
// time picker's, or the text after the first space of the old cell), as
// "yyyy-mm-dd hh:nn:ss". Throws CommandError "'%s' is not a valid date and time", %s
// the joined text, when the old cell gives no time of day.
std::string RefreshedTimeCell(std::string_view oldCell, CalendarDate date, const TimeOfDay* time);

// The page's checks (nothing chosen; a creation date, which this platform cannot set),
// then the operation: the chosen times of every marked file and, with the folder box,
// of their folders; a changed row with a new modification date gets its new time cell.
fileset::Prepared<FileOperation> PrepareChangeDates(const ChangeDatesSettings& settings);

// The run over the marked rows (the precondition check has passed).
fileset::RunEnd RunChangeDates(fileset::FileList& files, const ChangeDatesSettings& settings,
                               platform::Host& host);

}  // namespace fileops
