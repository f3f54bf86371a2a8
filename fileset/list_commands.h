#pragma once
// The commands under the search box that add, remove, export and delete rows. Each is
// the run after the precondition check where one is needed; the window supplies the
// dialogs' answers.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fileset/file_list.h"
#include "platform/host.h"

namespace fileset {

inline constexpr std::string_view kExportWithFoldersQuestion = "导出文件名称时，是否包含文件目录？";
inline constexpr std::string_view kNamesExported = "文件名称导出成功,导出总数量：";
inline constexpr std::string_view kFoldersExported = "文件目录导出成功,导出总数量：";
inline constexpr std::string_view kDeleteQuestion =
    "此操作将从磁盘上删除此文件且不可恢复,确认要删除吗?";

// Appends the files at `paths` in order, each a row like the search's, and counts them in
// the search counter. A path that no longer exists, or whose entry has an attribute
// outside the file mask, is passed over. Duplicates are added again.
void AddFiles(FileList& files, const std::vector<platform::NativePath>& paths,
              platform::Host& host);

// Removes the marked rows, from the bottom up, and takes each from the search counter.
// Nothing on disk is touched; marks stay at their positions.
void RemoveMarkedRows(FileList& files, platform::Host& host);

// The lines an export writes: the names (or full paths) of the marked rows in row order;
// or their folders, each once in the order first met, letter case ignored.
std::vector<std::string> MarkedNames(const FileList& files, bool withFolders);
std::vector<std::string> MarkedFolders(const FileList& files);

// Asks for the file to write; empty when the person cancels.
using PickExportFile = std::function<std::optional<platform::NativePath>()>;

// Export runs: question (names only), lines, file dialog, the file written in the engine
// code page with CR LF after every line, and the count. Nothing is written or shown when
// there are no lines or the dialog is cancelled.
void RunExportNames(const FileList& files, platform::Host& host, const PickExportFile& pick);
void RunExportFolders(const FileList& files, platform::Host& host, const PickExportFile& pick);

// Deletes the marked files from disk after the question, from the bottom up; deleted rows
// leave the list and the search counter, and the delete counter shows how many went. A
// file that cannot be deleted (missing, read-only, refused) stays listed and marked.
void RunDeleteMarkedFiles(FileList& files, platform::Host& host);

}  // namespace fileset
