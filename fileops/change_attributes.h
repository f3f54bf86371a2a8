#pragma once
// Gives every marked file (and, when asked, its folder) new attributes: the mask of the
// ticked boxes replaces the attributes wholesale. See platform/file_attributes.h for
// how read-only, hidden, system and archive live on this platform.

#include <cstdint>
#include <string_view>

#include "fileops/file_operation_frame.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace fileops {

inline constexpr std::string_view kChooseNewAttributes = "请选择新的属性！";

struct ChangeAttributesSettings {  // the page's boxes
  bool archive = true;             // ckNormal
  bool system = false;             // ckSystem
  bool readOnly = false;           // ckReadonly
  bool hidden = false;             // ckHidden
  bool folders = false;            // chkDirProp
};

// The OR of the attribute bits of the ticked boxes; 0 when none is ticked.
std::uint32_t AttributeMask(const ChangeAttributesSettings& settings);

// The page's check (no box ticked), then the operation: the attributes of every marked
// file and, with the folder box, of their folders. A path whose attributes cannot be set
// is skipped without a word and not counted.
fileset::Prepared<FileOperation> PrepareChangeAttributes(const ChangeAttributesSettings& settings);

// The run over the marked rows (the precondition check has passed).
fileset::RunEnd RunChangeAttributes(fileset::FileList& files,
                                    const ChangeAttributesSettings& settings, platform::Host& host);

}  // namespace fileops
