#include "app/script/script_dialogs.h"

#include <cstdio>
#include <cstdlib>

#include "app/preview_dialog.h"

namespace app::script {

void PrintLine(const QString& line) {
  const QByteArray bytes = line.toUtf8() + '\n';
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
  std::fflush(stdout);
}

QString EscapeLineBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
  text.replace(QLatin1Char('\r'), QStringLiteral("\\n"));
  text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  return text;
}

void PrintErrorLine(const QString& line) {
  std::fflush(stdout);
  const QByteArray bytes = line.toUtf8() + '\n';
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
  std::fflush(stderr);
}

void AbortScript(int line, const QString& message) {
  PrintErrorLine(QStringLiteral("script line %1: %2").arg(line).arg(message));
  // _Exit, not exit or a throw: this runs inside a window handler, and neither the
  // handler nor the toolkit's dispatch may continue or unwind.
  std::_Exit(2);
}

void ScriptDialogs::QueueChoice(const QString& path) {
  if (!selectionOpen_) {
    dialogResults_.push_back({});
    selectionOpen_ = true;
  }
  dialogResults_.back().paths.append(path);
}

void ScriptDialogs::QueueCancel() {
  dialogResults_.push_back({.cancelled = true, .paths = {}});
  selectionOpen_ = false;
}

ScriptDialogs::DialogResult ScriptDialogs::TakeDialogResult(const char* dialogKind) {
  if (dialogResults_.empty()) {
    AbortScript(line_, QStringLiteral("a %1 opened with no \"choose\" or \"cancel-dialog\" queued")
                           .arg(QLatin1String(dialogKind)));
  }
  DialogResult result = std::move(dialogResults_.front());
  dialogResults_.pop_front();
  if (dialogResults_.empty()) selectionOpen_ = false;
  return result;
}

void ScriptDialogs::ShowError(const QString& text) {
  PrintLine(QStringLiteral("[error] ") + EscapeLineBreaks(text));
}

void ScriptDialogs::ShowInfo(const QString& text) {
  PrintLine(QStringLiteral("[info] ") + EscapeLineBreaks(text));
}

bool ScriptDialogs::Ask(const QString& text) {
  if (answers_.empty()) {
    AbortScript(line_,
                QStringLiteral("a question with no \"answer\" queued: ") + EscapeLineBreaks(text));
  }
  const bool yes = answers_.front();
  answers_.pop_front();
  PrintLine(QStringLiteral("[question] ") + EscapeLineBreaks(text) +
            (yes ? QStringLiteral(" -> yes") : QStringLiteral(" -> no")));
  return yes;
}

void ScriptDialogs::ShowException(const QString& text) {
  PrintLine(QStringLiteral("[exception] ") + EscapeLineBreaks(text));
}

void ScriptDialogs::ShowErrorTitled(const QString& /*title*/, const QString& text) {
  PrintLine(QStringLiteral("[error] ") + EscapeLineBreaks(text));
}

bool ScriptDialogs::ShowPreview(const fileset::Preview& preview,
                                const RowDifferences& /*differences*/) {
  for (const fileset::PreviewRow& row : preview.rows) {
    const PreviewTexts texts = TextsOf(row);
    QString line =
        QStringLiteral("[preview] ") + texts.status + u'\t' + texts.before + u'\t' + texts.after;
    if (!texts.reason.isEmpty()) line += u'\t' + texts.reason;
    PrintLine(EscapeLineBreaks(line));
  }
  PrintLine(QStringLiteral("[preview] summary: ") +
            QString::fromStdString(fileset::PreviewSummary(preview)));
  return false;
}

std::optional<QString> ScriptDialogs::PickFolder(const QString& /*title*/) {
  DialogResult result = TakeDialogResult("folder picker");
  if (result.cancelled) return std::nullopt;
  return result.paths.first();
}

QStringList ScriptDialogs::PickFilesToOpen(const QString& /*title*/,
                                           const QStringList& /*filters*/) {
  DialogResult result = TakeDialogResult("file dialog");
  if (result.cancelled) return {};
  return result.paths;
}

std::optional<QString> ScriptDialogs::PickFileToSave(const QString& /*filter*/,
                                                     const QString& defaultSuffix) {
  DialogResult result = TakeDialogResult("save dialog");
  if (result.cancelled) return std::nullopt;
  QString path = result.paths.first();
  // As the real save dialog does: a name typed without a suffix gets the default one.
  const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
  if (!defaultSuffix.isEmpty() && !name.contains(QLatin1Char('.')))
    path += QLatin1Char('.') + defaultSuffix;
  return path;
}

void ScriptDialogs::OpenWithShell(const QString& target) {
  PrintLine(QStringLiteral("[open] ") + EscapeLineBreaks(target));
}

}  // namespace app::script
