#pragma once
// The frame every content mode runs in: the walk over the marked rows in row order,
// each file loaded as a line list, the mode's output lines, the ".bak" copy of the
// unchanged file, the save over the file, the change counter and the closing message.
// A mode's Prepare makes its page checks and gives the ContentMode that the frame runs.

#include <cstdint>
#include <string>
#include <string_view>

#include "content/line_list.h"
#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace content {

// The closing message: kClosingBefore, the change counter, then the unit.
inline constexpr std::string_view kClosingBefore = "成功处理完成,共处理 ";
inline constexpr std::string_view kFilesUnit = " 个文件!";
inline constexpr std::string_view kRecordsUnit = " 条记录!";
// A further line of the closing message, after the count of files that hold a zero byte.
inline constexpr std::string_view kNotTextNote = " 个文件含有零字节，不是文本，未处理";
// That line for `count` files; empty for none.
inline std::string NotTextLine(std::int64_t count) {
  return count == 0 ? std::string() : std::to_string(count) + std::string(kNotTextNote);
}

// The file being worked on.
struct FileContext {
  int row = 0;
  std::string fullPath;       // engine text, as shown: folder, separator, name
  std::string name;           // the row's name cell, copied: the list may change during the run
  platform::NativePath path;  // the bytes the file system holds
  std::string created;        // the row's creation-time and modification-time cells
  std::string modified;
};

// The file of row `row` as a mode sees it.
FileContext ContextOf(const fileset::FileList& files, int row);

enum class Backup { No, Yes };          // the page's backup box
enum class FileResult { Save, Leave };  // Leave: the file is neither saved nor counted

// A content mode once its page checks have passed: the plan it applies to every file.
class ContentMode {
 public:
  explicit ContentMode(Backup backup) : backup_(backup) {}
  virtual ~ContentMode() = default;
  // Reads what the mode reads only once its start button is disabled, before the change
  // counter is set to 0 (a number field whose error then ends the run, no file touched).
  virtual void Begin() {}
  // Builds the output lines of one file from its source lines, touching nothing on the
  // disk. Modes that walk the lines let the host's messages run once per line.
  virtual FileResult Build(const FileContext& file, const LineList& source, LineSink& output,
                           platform::Host& host) = 0;
  virtual std::string_view ClosingUnit() const { return kFilesUnit; }
  // Further lines of the closing message, after the count of files that hold a zero byte:
  // what the mode left alone and why. Empty: none.
  virtual std::string FurtherLines() const { return {}; }
  // Why Build last left a file as it was, in a word for a preview; empty when it says none.
  virtual std::string_view LeaveReason() const { return {}; }
  // Whether a leading UTF-8 byte-order mark of a file goes first into its new text.
  virtual bool KeepsByteOrderMark() const { return true; }
  Backup backup() const { return backup_; }

 private:
  Backup backup_;
};

// A mode whose work on each file is one function of a plan worked out before the run.
template <typename Plan, void (*kWork)(const LineList&, const Plan&, LineSink&, platform::Host*)>
class PlannedMode final : public ContentMode {
 public:
  PlannedMode(Plan plan, Backup backup) : ContentMode(backup), plan_(std::move(plan)) {}
  FileResult Build(const FileContext&, const LineList& source, LineSink& output,
                   platform::Host& host) override {
    kWork(source, plan_, output, &host);
    return FileResult::Save;
  }

 private:
  const Plan plan_;
};

// The run once the precondition and the page's checks have passed, walking the marked
// rows as fileset::RunMarkedRows does: the button disabled, the mode's Begin, the change
// counter set to 0, then each file: load, build, copy the unchanged
// file to path + ".bak" when the mode asks for it (overwriting; a failed copy is
// ignored), save, count. A read-only file is refused before its output is built, so it
// gets no ".bak" copy. A file error ends the run at that file and propagates as
// CommandError: the files saved before stay saved, the counter shows them, no closing
// message is shown, and the start button is enabled again. A file that another program
// changes while it is read ends the run as a file that cannot be opened, unsaved and
// without a ".bak" copy.
void RunContentFrame(fileset::FileList& files, platform::Host& host, ContentMode& mode);
// The run of a prepared mode: its refusal shown (the focus returned), or the frame.
fileset::RunEnd RunContentFrame(fileset::FileList& files, platform::Host& host,
                                fileset::Prepared<ContentMode> prepared);

// The end of every rewrite: `output`, built from `read` (the file at `path` as it was
// read), replaces the file, after the ".bak" copy of its unchanged bytes when `backup`
// asks for one; true then. False, with nothing written, when the text holds a zero byte:
// it is no text, and saving it would cut it there. Throws CommandError "Cannot open file
// %s" when another program changed the file while it was read: neither what was made of
// it nor a copy of it may be kept.
bool SaveRewrite(const platform::NativePath& path, const LineList& read, LineFileWriter& output,
                 Backup backup);

// The ".bak" copy of the file at `path`, whose unchanged bytes are `bytes`: bytes and
// permission bits, replacing an earlier copy unless that one is read-only, and safe on
// the disk before the file itself is replaced. Throws CommandError "Cannot create file
// PATH.bak" when it cannot be made.
void CopyToBackup(const platform::NativePath& path, std::string_view bytes);

}  // namespace content
