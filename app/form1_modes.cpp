// The mode chooser and the start buttons of the batch modes.

#include "app/engine_qstring.h"
#include "app/form1.h"
#include "fileops/change_extension.h"

namespace app {

void TForm1::cmbOptChange() { ShowModePage(cmbOpt->currentIndex(), -1); }

void TForm1::ShowModePage(int first, int second) {
  for (int page = 0; page < pgcOne->count(); ++page)
    pgcOne->setTabVisible(page, page == first || page == second);
  if (first >= 0 && first < pgcOne->count()) pgcOne->setCurrentIndex(first);
}

void TForm1::btnExtClick() {
  RunCommand(pages_.ext.btnExt, [this] {
    if (!CheckRunPrecondition()) return;
    const fileops::ChangeExtensionSettings settings{ToEngine(pages_.ext.edtNewExt->text())};
    fileops::RunChangeExtension(files_, settings, host_);
  });
}

void TForm1::StartButtonClick(int mode) {
  // The runs of these modes are not built yet; the check every start makes is.
  RunCommand(pages_.StartButtons()[static_cast<std::size_t>(mode)],
             [this] { CheckRunPrecondition(); });
}

}  // namespace app
