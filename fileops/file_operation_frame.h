#pragma once
// The frame every file-operation mode runs in (rename, extension, dates, attributes):
// the walk over the marked rows in row order, each row's change worked out from the
// row and the disk and then made, the row's cells brought up to date, when asked the
// row's folder too, the change counter and the closing message. A mode's Prepare makes
// its page checks and gives the FileOperation that the frame runs.

#include <optional>
#include <string>
#include <string_view>

#include "fileops/file_change.h"
#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace fileops {

// The closing message: the text, then the change counter.
inline constexpr std::string_view kFilesProcessed = "成功处理文件总数量：";

enum class Folders { No, Yes };  // the page's folder box: the rows' folders change too

// What one marked row asks for.
struct RowPlan {
  std::optional<FileChange> change;  // none: the row is passed over, uncounted
  bool endsRun = false;              // the run ends before this row
  // A rename's new name as worked out (engine text), also when no file can take it or
  // it is the old one: what a preview shows.
  std::string wantedName = {};
};

// A file-operation mode once its page checks have passed: the plan it applies to every
// row. Working out a change never changes the disk.
class FileOperation {
 public:
  explicit FileOperation(Folders folders = Folders::No) : folders_(folders) {}
  virtual ~FileOperation() = default;
  // Reads what the mode reads only once its start button is disabled and the change
  // counter is set to 0 (rename: its running number and its list file). A number error
  // here ends the run before any file is touched.
  virtual void Begin() {}
  virtual RowPlan PlanRow(const fileset::FileList& files, int row) = 0;
  // The change of a folder of marked rows (`path` is never empty: the root for an empty
  // folder cell); asked only with Folders::Yes.
  virtual std::optional<FileChange> PlanFolder(const platform::NativePath&) { return std::nullopt; }
  // Brings the cells of row `row` up to date once its change was made and counted.
  virtual void UpdateRow(fileset::FileList&, int, const FileChange&) {}
  // Whether its changes are renames (RowPlan::wantedName is then set).
  virtual bool Renames() const { return false; }
  Folders folders() const { return folders_; }

 private:
  Folders folders_;
};

// The folder whose change follows row `row`: the row's folder, the root for an empty
// folder cell.
platform::NativePath FolderToChange(const fileset::FileList& files, int row);

// The run once the precondition and the page's checks have passed, walking the marked
// rows as fileset::RunMarkedRows does: the button disabled, the change counter set to 0,
// the operation's Begin, then each row, the window's messages let through before it. A
// row whose change is made is counted. With Folders::Yes each row is followed by
// its folder, unless it is the last folder changed (the same bytes):
// only the last one is remembered, so a folder comes again after rows of another, and a
// folder that failed is tried again with the next row. Folders are not counted.
void RunFileOperationFrame(fileset::FileList& files, platform::Host& host,
                           FileOperation& operation);
// The run of a prepared mode: its refusal shown (the focus returned), or the frame.
fileset::RunEnd RunFileOperationFrame(fileset::FileList& files, platform::Host& host,
                                      fileset::Prepared<FileOperation> prepared);

}  // namespace fileops
