#include "fileops/change_dates.h"

#include "platform/code_page.h"
#include "platform/engine_text.h"
#include "platform/error.h"
#include "platform/file_system.h"

namespace fileops {
namespace {

using platform::FileTime;
using platform::LocalDateTime;

LocalDateTime Join(CalendarDate date, const TimeOfDay& time) {
  return LocalDateTime{date.year,   date.month,  date.day,        time.hour,
                       time.minute, time.second, time.millisecond};
}

TimeOfDay TimeOfDayOf(const LocalDateTime& t) {
  return TimeOfDay{t.hour, t.minute, t.second, t.millisecond};
}

// Reads 1 or 2 decimal digits at `pos` into `value`, no larger than `limit`.
bool ReadField(std::string_view text, std::size_t& pos, int limit, int& value) {
  const std::size_t start = pos;
  value = 0;
  while (pos < text.size() && pos - start < 2 && text[pos] >= '0' && text[pos] <= '9')
    value = value * 10 + (text[pos++] - '0');
  return pos > start && value <= limit;
}

// A time of day as the list shows it, "h:n", "h:n:s" or "h:n:s.z" with one or two
// digits per field (one to three for the milliseconds); blanks around it are allowed.
std::optional<TimeOfDay> ParseTimeOfDay(std::string_view text) {
  text = platform::TrimBlanks(text);
  TimeOfDay t;
  std::size_t pos = 0;
  if (!ReadField(text, pos, 23, t.hour) || pos >= text.size() || text[pos++] != ':' ||
      !ReadField(text, pos, 59, t.minute))
    return std::nullopt;
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    if (!ReadField(text, pos, 59, t.second)) return std::nullopt;
    if (pos < text.size() && text[pos] == '.') {
      const std::size_t start = ++pos;
      int scale = 100;
      while (pos < text.size() && pos - start < 3 && text[pos] >= '0' && text[pos] <= '9') {
        t.millisecond += (text[pos++] - '0') * scale;
        scale /= 10;
      }
      if (pos == start) return std::nullopt;
    }
  }
  if (pos != text.size()) return std::nullopt;
  return t;
}

}  // namespace

FileTime NewTimestamp(FileTime current, CalendarDate date, const TimeOfDay* time) {
  TimeOfDay timeOfDay = time ? *time : TimeOfDayOf(platform::ToLocal(current));
  // The new value goes through date-and-time text and back, which keeps whole seconds.
  timeOfDay.millisecond = 0;
  return platform::LocalToFileTime(Join(date, timeOfDay));
}

FileTime WithTimeOfDay(FileTime current, const TimeOfDay& time) {
  const LocalDateTime local = platform::ToLocal(current);
  return platform::LocalToFileTime(Join({local.year, local.month, local.day}, time));
}

std::optional<NewTimes> PlanNewTimes(const platform::FileTimes& current,
                                     const ChangeDatesSettings& settings) {
  if (settings.create) return std::nullopt;
  NewTimes times{current.lastAccess, current.lastWrite};
  const TimeOfDay* time = settings.time ? &settings.timeOfDay : nullptr;
  if (settings.modify) times.lastWrite = NewTimestamp(current.lastWrite, settings.modifyDate, time);
  if (settings.access)
    times.lastAccess = NewTimestamp(current.lastAccess, settings.accessDate, time);
  if (settings.modify || settings.access) return times;
  if (!settings.time) return std::nullopt;
  // Time only: every timestamp keeps its date; the creation time cannot be set and stays.
  times.lastAccess = WithTimeOfDay(current.lastAccess, settings.timeOfDay);
  times.lastWrite = WithTimeOfDay(current.lastWrite, settings.timeOfDay);
  return times;
}

std::optional<TimesChange> PlanTimesChange(const platform::NativePath& path, PathKind kind,
                                           const ChangeDatesSettings& settings) {
  // Read-only means "no write bit" and root could write anyway; a folder's write bits
  // are about its entries, not its times.
  if (kind == PathKind::File && platform::IsReadOnly(path)) return std::nullopt;
  const std::optional<platform::FileTimes> current = platform::ReadFileTimes(path);
  if (!current) return std::nullopt;
  const std::optional<NewTimes> times = PlanNewTimes(*current, settings);
  if (!times) return std::nullopt;
  return TimesChange{path, *current, times->lastAccess, times->lastWrite};
}

std::string RefreshedTimeCell(std::string_view oldCell, CalendarDate date, const TimeOfDay* time) {
  LocalDateTime joined = Join(date, time != nullptr ? *time : TimeOfDay{});
  if (!time) {
    const std::size_t space = oldCell.find(' ');
    const std::string_view timeText =
        space == std::string_view::npos ? std::string_view() : oldCell.substr(space + 1);
    const std::optional<TimeOfDay> parsed = ParseTimeOfDay(timeText);
    if (!parsed) {
      std::string text = "'";
      text += platform::FormatDateTime("yyyy-mm-dd ", joined);
      text += platform::EngineToUtf8(timeText);
      text += "' is not a valid date and time";
      throw platform::CommandError(text);
    }
    joined = Join(date, *parsed);
  }
  return platform::FormatDateTime(platform::kListTimeFormat, joined);
}

namespace {

class ChangeDates final : public FileOperation {
 public:
  explicit ChangeDates(const ChangeDatesSettings& settings)
      : FileOperation(settings.folders ? Folders::Yes : Folders::No), settings_(settings) {}

  RowPlan PlanRow(const fileset::FileList& files, int row) override {
    return {PlanTimesChange(files.NativeFullPath(row), PathKind::File, settings_)};
  }
  std::optional<FileChange> PlanFolder(const platform::NativePath& path) override {
    return PlanTimesChange(path, PathKind::Folder, settings_);
  }
  void UpdateRow(fileset::FileList& files, int row, const FileChange& change) override {
    if (!settings_.modify) return;
    std::string cell =
        RefreshedTimeCell(files.Cell(row, fileset::kModifiedColumn), settings_.modifyDate,
                          settings_.time ? &settings_.timeOfDay : nullptr);
    // A file system keeps the nearest time it can hold to one it cannot (ext4: none before
    // 13 December 1901 or after 2446): the list shows what the file now has.
    const int year = settings_.modifyDate.year;
    if (year < kEveryFileSystemFrom || year > kEveryFileSystemUntil) {
      const auto& times = std::get<TimesChange>(change);
      const std::optional<platform::FileTimes> held = platform::ReadFileTimes(times.path);
      if (held && held->lastWrite.seconds != times.lastWrite.seconds)
        cell = platform::FormatFileTime(held->lastWrite, platform::kListTimeFormat);
    }
    files.SetCell(row, fileset::kModifiedColumn, std::move(cell));
  }

 private:
  // Years that every file system here holds exactly (32-bit seconds).
  static constexpr int kEveryFileSystemFrom = 1902;
  static constexpr int kEveryFileSystemUntil = 2037;

  const ChangeDatesSettings settings_;
};

}  // namespace

fileset::Prepared<FileOperation> PrepareChangeDates(const ChangeDatesSettings& settings) {
  if (!settings.modify && !settings.create && !settings.access && !settings.time)
    return fileset::Refusal{kChooseNewDateOrTime, {}};
  if (settings.create) return fileset::Refusal{kCreationDateCannotBeSet, {}};
  return std::make_unique<ChangeDates>(settings);
}

fileset::RunEnd RunChangeDates(fileset::FileList& files, const ChangeDatesSettings& settings,
                               platform::Host& host) {
  return RunFileOperationFrame(files, host, PrepareChangeDates(settings));
}

}  // namespace fileops
