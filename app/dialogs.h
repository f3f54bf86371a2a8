#pragma once
// Everything the window shows or asks outside itself: message boxes, the file and folder
// dialogs, and the shell's "open". The window uses real dialogs; the script driver
// prints the boxes and answers from the script.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "content/line_diff.h"
#include "fileset/preview.h"

namespace app {

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Modal boxes titled with the window's caption.
  virtual void ShowError(const QString& text) = 0;      // error icon, OK
  virtual void ShowInfo(const QString& text) = 0;       // information icon, OK
  virtual bool Ask(const QString& text) = 0;            // question icon, Yes/No; true for Yes
  virtual void ShowException(const QString& text) = 0;  // the application-wide error box
  // A box with its own title (the spreadsheet converter's "错误" box).
  virtual void ShowErrorTitled(const QString& title, const QString& text) = 0;

  // Folder picker; empty when cancelled.
  virtual std::optional<QString> PickFolder(const QString& title) = 0;
  // Open-file dialog with several files allowed; empty when cancelled. `filters` are
  // Qt name filters ("文本文件(*.txt *.ini)"), the first the default.
  virtual QStringList PickFilesToOpen(const QString& title, const QStringList& filters) = 0;
  // Save dialog; empty when cancelled. `defaultSuffix` is added to a name without one.
  virtual std::optional<QString> PickFileToSave(const QString& filter,
                                                const QString& defaultSuffix) = 0;

  // The differences of the file of one list row, for a preview; may throw CommandError.
  using RowDifferences = std::function<content::LineDiff(int row)>;
  // The preview of a run, with the differences of each row's file when `differences`
  // is given; true when the person asks to start the run.
  virtual bool ShowPreview(const fileset::Preview& preview, const RowDifferences& differences) = 0;

  // The shell's "open" verb on a file name or address; the result is ignored.
  virtual void OpenWithShell(const QString& target) = 0;
};

}  // namespace app
