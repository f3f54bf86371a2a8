#pragma once
// The page "按关键字同步行": the source lines that hold a keyword replace the target's
// lines of the same numbers, as translators carry translated lines over.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "content/line_list.h"
#include "content/two_file_frame.h"
#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace content {

inline constexpr std::string_view kSyncKeywordsEmpty = "关键字为空,请输入后再试!";
inline constexpr std::string_view kSyncNeedsTwoFiles = "请选择需要按关键字进行同步的两个文件！";

struct LineSyncSettings {  // the page's fields, engine text as typed
  std::string keywords;    // edtLineKeys
  bool backup = true;      // chkKeysSyn
};

// The target's lines with every source line that holds one of the keywords (letter case
// ignored as the engine folds it; an empty keyword matches nothing) put in place of the
// target line of the same number, unchanged; gives the count of such source lines. A
// match beyond the target's last line throws CommandError "List index out of bounds
// (%d)" with its 0-based number. Source and target are walked side by side, so nothing
// but the current lines is held.
std::int64_t SyncLines(const LineList& source, const LineList& target,
                       const std::vector<std::string>& keywords, LineSink& output,
                       platform::Host* host = nullptr);

// The empty-keyword check (the focus to edtLineKeys), then the mode holding the keywords.
fileset::Prepared<TwoFileMode> PrepareLineSync(const LineSyncSettings& settings);

fileset::RunEnd RunLineSync(fileset::FileList& files, const LineSyncSettings& settings,
                            platform::Host& host);

}  // namespace content
