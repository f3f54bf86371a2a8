#pragma once
// The preview of a batch run in the window: a summary, a table of the files the run
// would come to (skipped rows red, unchanged rows grey), a filter for the skipped rows,
// and the buttons that start the run or close.

#include <QString>

#include "fileset/preview.h"

class QWidget;

namespace app {

// The texts of one preview row as shown and printed: status, old, new, reason (UTF-8).
struct PreviewTexts {
  QString status, before, after, reason;
};
PreviewTexts TextsOf(const fileset::PreviewRow& row);

// Shows the preview modally; true when the person chose to start the run.
bool ShowPreviewDialog(QWidget* parent, const fileset::Preview& preview);

}  // namespace app
