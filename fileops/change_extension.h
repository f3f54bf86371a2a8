#pragma once
// Gives every marked file a new extension; the template may hold ${Ext}, the old
// extension without its dot. Nothing else of the template language applies.

#include <string>
#include <string_view>

#include "fileset/file_list.h"
#include "platform/host.h"

namespace fileops {

inline constexpr std::string_view kEnterNewExtension = "请输入新扩展名格式！";
inline constexpr std::string_view kFilesProcessed = "成功处理文件总数量：";

struct ChangeExtensionSettings {
  std::string newExt;  // edtNewExt, engine text as typed
};

// The extension template: trimmed, lower-cased, and given a leading "."; empty when the
// text is empty or only "${ext}" (the run is then refused).
std::string ExtensionTemplate(std::string_view typed);

// The new extension of one file, with its dot: the template with every ${ext} replaced
// by the file's old extension without its dot (its letter case kept). The new name is
// the base name followed by it.
std::string NewExtensionFor(std::string_view name, std::string_view extensionTemplate);

// The run over the marked rows (the precondition check has passed): renames that never
// replace an existing file, the name and type cells of renamed rows, the change counter
// and the closing message.
void RunChangeExtension(fileset::FileList& files, const ChangeExtensionSettings& settings,
                        platform::Host& host);

}  // namespace fileops
