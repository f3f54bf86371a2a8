#pragma once
// The dialogs of a batch script: every box becomes one line on standard output, questions
// are answered and file dialogs filled from what the script queued beforehand. A box or
// dialog the script did not prepare for ends the program with status 2, because a script
// cannot be asked anything.

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

#include "app/dialogs.h"

namespace app::script {

// One line of standard output, UTF-8, flushed at once: whoever reads the output of a
// running script (a test, a pipe) sees each line as it happens.
void PrintLine(const QString& line);

// One line on standard error, after what standard output holds so far.
void PrintErrorLine(const QString& line);

// Writes each line break of `text` (CR LF, LF or CR) as the two characters "\n", so that
// one message or value stays on one output line.
QString EscapeLineBreaks(QString text);

// Ends the program at once with status 2 after a message naming the script line. Used
// where the failure is found inside a window handler, so that nothing unwinds through
// the toolkit's signal dispatch.
[[noreturn]] void AbortScript(int line, const QString& message);

class ScriptDialogs : public Dialogs {
 public:
  // The script line now running; boxes that cannot be answered name it.
  void SetLine(int line) { line_ = line; }

  void QueueAnswer(bool yes) { answers_.push_back(yes); }
  // Adds a path to the selection that the next file or folder dialog returns; successive
  // choices form one multiple selection.
  void QueueChoice(const QString& path);
  // The next file or folder dialog is cancelled.
  void QueueCancel();

  void ShowError(const QString& text) override;
  void ShowInfo(const QString& text) override;
  bool Ask(const QString& text) override;
  void ShowException(const QString& text) override;
  void ShowErrorTitled(const QString& title, const QString& text) override;
  // Prints the rows and the summary instead of opening the dialog; never starts the run.
  bool ShowPreview(const fileset::Preview& preview, const RowDifferences& differences) override;
  std::optional<QString> PickFolder(const QString& title) override;
  QStringList PickFilesToOpen(const QString& title, const QStringList& filters) override;
  std::optional<QString> PickFileToSave(const QString& filter,
                                        const QString& defaultSuffix) override;
  void OpenWithShell(const QString& target) override;

 private:
  // What one file or folder dialog returns: the chosen paths, or nothing when cancelled.
  struct DialogResult {
    bool cancelled = false;
    QStringList paths;
  };
  // The next queued result; ends the script when none is queued.
  DialogResult TakeDialogResult(const char* dialogKind);

  int line_ = 0;
  std::deque<bool> answers_;
  std::deque<DialogResult> dialogResults_;
  // True while the last queued result still takes further `choose` lines.
  bool selectionOpen_ = false;
};

}  // namespace app::script
