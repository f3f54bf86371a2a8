#pragma once
// The preview of a batch run in the window: a summary, a table of the files the run
// would come to (skipped rows red, unchanged rows grey), a filter for the skipped rows,
// the differences of the selected file for the modes that edit lines, and the buttons
// that start the run or close.

#include <QString>

#include "app/dialogs.h"
#include "fileset/preview.h"

class QWidget;

namespace app {

// The texts of one preview row as shown and printed: status, old, new, reason (UTF-8).
struct PreviewTexts {
  QString status, before, after, reason;
};
PreviewTexts TextsOf(const fileset::PreviewRow& row);

// Shows the preview modally, and below its table the differences of the selected row's
// file when `differences` is given; true when the person chose to start the run.
bool ShowPreviewDialog(QWidget* parent, const fileset::Preview& preview,
                       const Dialogs::RowDifferences& differences);

}  // namespace app
