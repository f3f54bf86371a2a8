#pragma once
// Gives every marked file a new extension; the template may hold ${Ext}, the old
// extension without its dot. Nothing else of the template language applies.

#include <string>
#include <string_view>

#include "fileops/file_operation_frame.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace fileops {

inline constexpr std::string_view kEnterNewExtension = "请输入新扩展名格式！";

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

// The page's check (an empty template), then the operation: each marked row is renamed
// to its base name and its new extension, never replacing an existing file; a renamed
// row gets its new name and type cells. A row whose name stays is passed over.
fileset::Prepared<FileOperation> PrepareChangeExtension(const ChangeExtensionSettings& settings);

// The run over the marked rows (the precondition check has passed).
fileset::RunEnd RunChangeExtension(fileset::FileList& files,
                                   const ChangeExtensionSettings& settings, platform::Host& host);

}  // namespace fileops
