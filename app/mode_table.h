#pragma once
// The batch modes of the window, in one table: each entry gives the mode's entry in
// cmbOpt, its page in pgcOne and what its start button does. The combo box, the order
// of the pages and the wiring of the start buttons all come from it, so a new mode is
// one entry here, its page (mode_pages.h), its start handler (start_handlers.h) and its
// core run.

#include <span>
#include <vector>

#include "app/pages/mode_pages.h"
#include "app/start_handlers.h"

QT_BEGIN_NAMESPACE
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
QT_END_NAMESPACE

namespace app {

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
  StartHandler start;  // nullptr: the run is not built yet; the button only makes the check
};

// The modes in cmbOpt's order, which is also the order of the pages: mode = page index.
std::span<const ModeEntry> ModeTable();

// Adds every mode's page to `pgcOne` in table order, named and captioned, and fills
// `pages`. The page control owns every widget.
std::vector<ModePage> AddModePages(QTabWidget* pgcOne, ModePages& pages);

}  // namespace app
