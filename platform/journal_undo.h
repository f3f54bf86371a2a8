#pragma once
// Reading the journal back: the kept runs, and undoing them. Undo puts a file back only
// while it is still what the run left; anything changed since is left alone and counted.
// A damaged or half-written record is counted and skipped, never applied.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/native_path.h"

namespace platform {

enum class RunState { Undoable, Undone, Partly };  // Partly: some files could not be kept

// "可撤销", "已撤销", "部分可撤销".
std::string_view StateWord(RunState state);

struct JournalRun {
  std::uint64_t id = 0;
  std::int64_t time = 0;   // seconds since 1970 (UTC)
  std::string mode;        // UTF-8: the mode's entry, or "删除"
  std::int64_t files = 0;  // the paths the run changed
  RunState state = RunState::Undoable;
};

// The kept runs that changed something, newest first.
std::vector<JournalRun> JournalHistory();

struct UndoResult {
  std::int64_t restored = 0;   // paths put back or removed
  std::int64_t leftAlone = 0;  // changed again since the run
  std::int64_t damaged = 0;    // records skipped as damaged
  std::int64_t runs = 0;       // runs undone
  // What was put back, for a list that shows it: renames undone (from the new path to the
  // old one) and the other paths put back, native bytes.
  std::vector<std::pair<std::string, std::string>> renamedBack;
  std::vector<std::string> putBack;
};

// The newest kept run not yet undone.
std::optional<JournalRun> LatestUndoable();

// Sums up the finished run `id` in its folder `run`, for JournalHistory.
void WriteRunSummary(std::uint64_t id, const NativePath& run);

// Undoes run `id` unless it was undone already.
UndoResult UndoRun(std::uint64_t id);
// Undoes run `id` and every later run not yet undone, latest first.
UndoResult UndoRunsFrom(std::uint64_t id);

// "成功撤销 N 个文件", then on further lines how many files were left alone and how many
// records were damaged, when any.
std::string UndoMessage(const UndoResult& result);

}  // namespace platform
