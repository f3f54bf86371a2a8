#pragma once
// The start handlers of the batch modes, named after their start buttons. Each runs once
// the precondition check has passed: it reads its page into the mode's settings and
// calls the core run, which makes the page's checks and the run.

#include "app/pages/mode_pages.h"
#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace app {

using StartHandler = fileset::RunEnd (*)(const ModePages& pages, fileset::FileList& files,
                                         platform::Host& host);

// Name and attribute modes (start_fileops.cpp).
fileset::RunEnd btnExtClick(const ModePages& pages, fileset::FileList& files, platform::Host& host);
fileset::RunEnd btnFilenameClick(const ModePages& pages, fileset::FileList& files,
                                 platform::Host& host);
fileset::RunEnd btnDateClick(const ModePages& pages, fileset::FileList& files, platform::Host& host);
fileset::RunEnd btnPropClick(const ModePages& pages, fileset::FileList& files, platform::Host& host);

// Content modes (start_content.cpp).
fileset::RunEnd btnCutClick(const ModePages& pages, fileset::FileList& files, platform::Host& host);
fileset::RunEnd btnInsClick(const ModePages& pages, fileset::FileList& files, platform::Host& host);
fileset::RunEnd btnDelLineClick(const ModePages& pages, fileset::FileList& files,
                                platform::Host& host);

}  // namespace app
