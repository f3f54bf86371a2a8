#pragma once
// The shape every batch mode shares. A mode is a settings value (its page's fields) and
// these steps: Prepare makes the page's checks in order and, when they pass, gives the
// mode object that owns the run's plan, with what is read before the start button is
// disabled; the mode's frame disables the button, lets the mode's Begin read what is
// read only then, walks the marked rows, works out each file's change without touching
// the disk and then makes it in one place, and ends with the closing message. A preview
// can take the same mode object and stop before the changes are made.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "fileset/file_list.h"
#include "fileset/preview.h"
#include "platform/host.h"

namespace fileset {

// How a run ended, for the window: the control (its objectName) that gets the keyboard
// focus after a refused page; empty when none.
struct RunEnd {
  std::string_view focus;
};

// A page check that failed: the error box's text and the control that gets the focus
// (empty when none).
struct Refusal {
  std::string_view message;
  std::string_view focus;
};

// The outcome of a mode's Prepare: the refusal of its page, or the mode ready to run.
template <typename Mode>
using Prepared = std::variant<Refusal, std::unique_ptr<Mode>>;

// Shows the refusal, or runs the prepared mode with `run` (nothing for a mode that is
// none: a page that names no work).
template <typename Mode, typename Run>
RunEnd RunPrepared(Prepared<Mode> prepared, platform::Host& host, Run&& run) {
  if (const Refusal* refusal = std::get_if<Refusal>(&prepared)) {
    host.ShowError(refusal->message);
    return {refusal->focus};
  }
  if (Mode* mode = std::get<std::unique_ptr<Mode>>(prepared).get()) run(*mode);
  return {};
}

// The preview of a prepared mode: its refusal shown (refused, with the focus), nothing
// when the mode is none (a page that names no work), or what `preview` works out.
template <typename Mode, typename Work>
Preview PreviewPrepared(Prepared<Mode> prepared, platform::Host& host, Work&& preview) {
  if (const Refusal* refusal = std::get_if<Refusal>(&prepared)) {
    host.ShowError(refusal->message);
    Preview refused;
    refused.refused = true;
    refused.focus = refusal->focus;
    return refused;
  }
  Mode* mode = std::get<std::unique_ptr<Mode>>(prepared).get();
  if (mode == nullptr) return {};
  return preview(*mode);
}

// The walk of a run over the marked rows: the start button is disabled for its
// duration, `begin` runs (the frame sets the change counter to 0 there, and the mode
// reads what it reads only once its button is disabled), and `visit(row)` is called for
// every marked row in row order, window messages let through before each row. The row count and
// the marks are read again at every step, since clicks while messages run change them.
// A run changes each file at most once: a row that names a file an earlier row of the run
// named is passed over. The walk ends early when `visit` returns false. Then the closing
// message (after `end`): `closing` followed by the change counter and `unit`, and `furtherLine()`
// on a line of its own when it gives one. An exception from `begin` or `visit` ends the run there
// without a closing message; what was done before stays done, and the start button comes back
// however the run ends.
struct MarkedRowsRun {
  // How rows are found to name the same file.
  enum class SameFile {
    // The same path. Enough where a second change would change nothing more (times,
    // attributes) or could not be made (a rename away from a name already gone), and it
    // asks nothing of the disk.
    ByPath,
    // The same device and inode, however the path is written (hard links, "." in it).
    // For runs that rewrite text, where a second change would change the text again. A
    // visit that saves puts a new file in the row's place, whose identity is taken too.
    ByIdentity,
    // Never: every marked row is visited, a file as often as rows name it. For a run that
    // only reads the files of its rows.
    Never,
  };
  std::function<void()> begin;
  std::function<bool(int row)> visit;
  // After the last row, while the start button is still disabled; may be empty.
  std::function<void()> end;
  std::string_view closing;
  std::string_view unit;
  std::function<std::string()> furtherLine;
  SameFile sameFile = SameFile::ByPath;
};
// The host shows the run's progress over the marked rows; when its stop button is pressed
// the run ends at a safe point (before the next file, or within a file before anything
// of it is saved), `end` is not run and the closing message is StoppedMessage of the
// change counter.
void RunMarkedRows(FileList& files, platform::Host& host, const MarkedRowsRun& run);

// The closing message of a stopped run: "已停止,共处理 N 个文件!".
inline constexpr std::string_view kStoppedBefore = "已停止,共处理 ";
inline constexpr std::string_view kStoppedUnit = " 个文件!";
std::string StoppedMessage(std::int64_t done);
std::int64_t CountMarkedRows(const FileList& files);

// The walk of RunMarkedRows alone, for a preview: no button, no counter, no message.
// `repeated(row)`, when given, hears of each row passed over as naming a file met before.
void WalkMarkedRows(const FileList& files, platform::Host& host, MarkedRowsRun::SameFile sameFile,
                    const std::function<bool(int row)>& visit,
                    const std::function<void(int row)>& repeated);

}  // namespace fileset
