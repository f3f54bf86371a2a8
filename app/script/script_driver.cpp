#include "app/script/script_driver.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QStringList>
#include <optional>

#include "app/form1.h"
#include "app/script/script_dialogs.h"
#include "app/script/script_executor.h"
#include "app/script/script_reader.h"

namespace app {
namespace {

constexpr int kFailed = 2;

QStringList ArgumentsAfterOption(int argc, char** argv) {
  QStringList arguments;
  for (int index = 2; index < argc; ++index) arguments.append(QString::fromUtf8(argv[index]));
  return arguments;
}

// The whole script, from a file or from standard input ("-").
std::optional<QByteArray> ReadScript(const QString& path) {
  QFile file;
  bool opened = false;
  if (path == QLatin1String("-")) {
    opened = file.open(stdin, QIODevice::ReadOnly);
  } else {
    file.setFileName(path);
    opened = file.open(QIODevice::ReadOnly);
  }
  if (!opened) return std::nullopt;
  QByteArray script = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return script;
}

int RunScript(const QStringList& arguments) {
  if (arguments.size() != 1) {
    script::PrintErrorLine(
        QStringLiteral("usage: tessaly --script FILE  (FILE \"-\" reads standard input)"));
    return kFailed;
  }
  const std::optional<QByteArray> text = ReadScript(arguments[0]);
  if (!text) {
    script::PrintErrorLine(QStringLiteral("cannot read the script \"%1\"").arg(arguments[0]));
    return kFailed;
  }

  script::ScriptDialogs dialogs;
  TForm1 form(dialogs, TForm1::TimerMode::Manual);
  // The window is never shown: its controls and handlers need no screen, and the window
  // keeps track of its focus control all the same. What its construction posted runs
  // before the first line.
  QCoreApplication::processEvents();

  script::ScriptReader reader(*text);
  script::Executor executor(form, dialogs);
  try {
    while (const std::optional<script::Command> command = reader.Next()) {
      dialogs.SetLine(command->line);
      executor.Run(*command);
      // What a handler posted (repaints, deferred work) runs before the next line, as
      // between two actions of a person.
      QCoreApplication::processEvents();
    }
  } catch (const script::ScriptError& error) {
    script::PrintErrorLine(
        QStringLiteral("script line %1: %2").arg(error.Line()).arg(error.Message()));
    return kFailed;
  }
  return 0;
}

// Prints a template item evaluated against a source text. The template language is not
// part of the program yet.
int RunEval(const QStringList& /*arguments*/) {
  script::PrintErrorLine(QStringLiteral("not available yet"));
  return kFailed;
}

// Prints the value of a numeric argument expression. The expression reader is not part
// of the program yet.
int RunExpr(const QStringList& /*arguments*/) {
  script::PrintErrorLine(QStringLiteral("not available yet"));
  return kFailed;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  const QString option = argc >= 2 ? QString::fromUtf8(argv[1]) : QString();
  const QStringList arguments = ArgumentsAfterOption(argc, argv);
  if (option == QLatin1String("--script")) return RunScript(arguments);
  if (option == QLatin1String("--eval")) return RunEval(arguments);
  if (option == QLatin1String("--expr")) return RunExpr(arguments);
  script::PrintErrorLine(
      QStringLiteral("usage: tessaly --script FILE | --eval [--raw] ITEM [SOURCE] | --expr TEXT"));
  return kFailed;
}

}  // namespace app
