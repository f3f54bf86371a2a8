#include "fileops/change_attributes.h"

#include <string>

#include "fileops/change_extension.h"
#include "fileops/marked_rows.h"
#include "platform/file_attributes.h"
#include "platform/file_system.h"

namespace fileops {

std::uint32_t AttributeMask(const ChangeAttributesSettings& settings) {
  std::uint32_t mask = 0;
  if (settings.archive) mask |= platform::kArchive;
  if (settings.system) mask |= platform::kSystem;
  if (settings.readOnly) mask |= platform::kReadOnly;
  if (settings.hidden) mask |= platform::kHidden;
  return mask;
}

void RunChangeAttributes(const fileset::FileList& files, const ChangeAttributesSettings& settings,
                         platform::Host& host) {
  const std::uint32_t mask = AttributeMask(settings);
  if (mask == 0) {
    host.ShowError(kChooseNewAttributes);
    return;
  }
  {
    platform::CommandScope running(host);
    host.WriteCounter(platform::Counter::Change, 0);
    WalkMarkedRows(
        files, settings.folders,
        [&](int row) {
          if (platform::SetAttributes(files.FullPath(row), mask))
            platform::AddToCounter(host, platform::Counter::Change, 1);
        },
        [&](std::string_view folder) { return platform::SetAttributes(folder, mask); });
  }
  host.ShowInfo(std::string(kFilesProcessed) +
                std::to_string(host.ReadCounter(platform::Counter::Change)));
}

}  // namespace fileops
