#include "app/script/script_driver.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QStringList>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "app/engine_qstring.h"
#include "app/form1.h"
#include "app/script/script_dialogs.h"
#include "app/script/script_executor.h"
#include "app/script/script_reader.h"
#include "platform/code_page.h"
#include "platform/error.h"
#include "template/number_expression.h"
#include "template/template_evaluator.h"

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
  TForm1 form(dialogs, TForm1::TimerMode::Manual, TForm1::SettingsFile::Ignored);
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

// Writes bytes and a line break to standard output as they are.
void WriteOutputLine(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Prints a template item evaluated against a source text (empty when left out), both
// taken as UTF-8 into engine text. The result is printed as UTF-8 with every byte that
// forms no character as "\xHH", or with "--raw" as its engine bytes unchanged. A
// template that runs out of room shows as the application-wide error box does.
int RunEval(QStringList arguments) {
  const bool raw = !arguments.isEmpty() && arguments.front() == QLatin1String("--raw");
  if (raw) arguments.removeFirst();
  if (arguments.isEmpty() || arguments.size() > 2) {
    script::PrintErrorLine(QStringLiteral("usage: tessaly --eval [--raw] ITEM [SOURCE]"));
    return kFailed;
  }
  const std::string item = ToEngine(arguments[0]);
  const std::string source = arguments.size() == 2 ? ToEngine(arguments[1]) : std::string();
  try {
    const std::string result = tmpl::EvalTemplate(source, item);
    WriteOutputLine(raw ? result : platform::EngineToUtf8Escaped(result));
  } catch (const platform::CommandError& error) {
    script::PrintLine(QStringLiteral("[exception] ") + QString::fromUtf8(error.what()));
  }
  return 0;
}

// Prints the value of a numeric argument expression before any truncation, in the
// shortest form that reads back as the same number; zero has no sign.
int RunExpr(const QStringList& arguments) {
  if (arguments.size() != 1) {
    script::PrintErrorLine(QStringLiteral("usage: tessaly --expr TEXT"));
    return kFailed;
  }
  double value = tmpl::EvalNumber(ToEngine(arguments[0]));
  if (value == 0) value = 0;  // -0 prints as 0
  char text[64];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  WriteOutputLine(
      std::string_view(text, error == std::errc() ? static_cast<std::size_t>(end - text) : 0));
  return 0;
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
