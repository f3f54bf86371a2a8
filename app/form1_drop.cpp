// Files and folders dragged from a file manager onto the grid or the folder box.

#include <QStringList>

#include "app/engine_qstring.h"
#include "app/form1.h"

namespace app {

void TForm1::AcceptDrops() {
  const DropTarget::Handler handler = [this](const DroppedPaths& dropped) {
    PathsDropped(dropped);
  };
  DropTarget::Install(sgFiles->viewport(), handler);
  DropTarget::Install(edFolder, handler);
}

void TForm1::PathsDropped(const DroppedPaths& dropped) {
  // Folders first, as a press of the search button would take them (none while a search
  // runs, when that button is off): the search empties the list, and files dropped
  // together with the folders belong in it too.
  if (!dropped.folders.empty() && cbSearch->isEnabled()) {
    QStringList folders;
    for (const platform::NativePath& folder : dropped.folders)
      folders << FromEngine(platform::EngineOf(folder.bytes()));
    edFolder->setText(folders.join(QLatin1Char(';')));
    cbSearch->click();
  }
  if (!dropped.files.empty()) AddFileRows(dropped.files);
}

}  // namespace app
