#pragma once
// The batch modes of the window, in one table: each entry gives the mode's entry in
// cmbOpt, its page in pgcOne and its start handler. The combo box, the order of the
// pages and the wiring of the start buttons all come from it, so a new mode is one entry
// here, its page (mode_pages.h: its widgets and their reading into the mode's settings)
// and its core run.

#include <span>
#include <vector>

#include "app/pages/mode_pages.h"
#include "content/line_diff.h"
#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "platform/host.h"

QT_BEGIN_NAMESPACE
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
QT_END_NAMESPACE

namespace app {

// What a start button does once the precondition check has passed: reads its page into
// the mode's settings and runs the core, which makes the page's checks and the run.
using StartHandler = fileset::RunEnd (*)(const ModePages& pages, fileset::FileList& files,
                                         platform::Host& host);

// What a preview button does once the precondition check has passed: reads the page and
// works out what its start button would do now, changing nothing.
using PreviewHandler = fileset::Preview (*)(const ModePages& pages, fileset::FileList& files,
                                            platform::Host& host);

// The differences the shown page's run would make to the file of list row `row`, worked
// out as the preview is; the page's checks are made again.
using DiffHandler = content::LineDiff (*)(const ModePages& pages, fileset::FileList& files,
                                          platform::Host& host, int row);

struct PreviewHandlers {
  PreviewHandler rows = nullptr;      // nullptr: the mode writes nothing, so nothing to preview
  DiffHandler differences = nullptr;  // nullptr: not a mode that edits lines
};

// What the window needs of every page once it is built.
struct ModePage {
  QPushButton* start = nullptr;
  QLineEdit* templateEdit = nullptr;  // takes the catalogue's picks; none: the clipboard does
};

struct ModeEntry {
  const char* entry;       // cmbOpt's text
  const char* pageName;    // the page's objectName
  const char* tabCaption;  // four tab captions differ from their entries
  ModePage (*build)(QWidget* page, ModePages& pages);  // fills the page, keeps its controls
  StartHandler start;
  PreviewHandlers preview;
};

// The modes in cmbOpt's order, which is also the order of the pages: mode = page index.
std::span<const ModeEntry> ModeTable();

// Adds every mode's page to `pgcOne` in table order, named and captioned, and fills
// `pages`. The page control owns every widget.
std::vector<ModePage> AddModePages(QTabWidget* pgcOne, ModePages& pages);

}  // namespace app
