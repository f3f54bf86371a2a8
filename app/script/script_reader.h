#pragma once
// Reading a batch script: its lines, one command at a time, and the arguments of a
// command. The grammar is fixed (see SCRIPT.md): a command word, one blank, its arguments;
// a VALUE argument is the whole rest of the line, kept exactly.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>
#include <utility>

namespace app::script {

// A script line that cannot be carried out. The driver prints it with the line number
// and ends with status 2.
class ScriptError : public std::runtime_error {
 public:
  ScriptError(int line, const QString& message)
      : std::runtime_error(message.toStdString()), line_(line), message_(message) {}
  int Line() const { return line_; }
  const QString& Message() const { return message_; }

 private:
  int line_;
  QString message_;
};

struct Command {
  int line = 0;       // 1-based line of the command word in the script
  QString word;       // "set", "click", ...
  QString rest;       // the text after the one blank that follows the word; may be empty
  QStringList block;  // the lines of a `text` block, without the closing "."
};

// Hands out the commands of a script in order, skipping blank and comment lines. Lines
// end with LF; a CR before it belongs to the line break, not to the line.
class ScriptReader {
 public:
  explicit ScriptReader(const QByteArray& script);

  // The next command, or nothing at the end. Throws ScriptError for a line that is not
  // UTF-8 and for a `text` block that the script ends before its ".".
  std::optional<Command> Next();

 private:
  // The next physical line as text, or nothing at the end.
  std::optional<QString> NextLine();

  QByteArray script_;
  qsizetype position_ = 0;
  int lineNumber_ = 0;
};

// The blank-separated arguments of `command`; throws ScriptError unless there are
// between `least` and `most` of them. `usage` shows the expected form in the message.
QStringList Arguments(const Command& command, int least, int most, const char* usage);

// For `set NAME VALUE`: the first word of the arguments and the exact rest after the one
// blank that follows it (empty when the line ends after the name).
std::pair<QString, QString> NameAndValue(const Command& command, const char* usage);

// A whole decimal integer (an optional "-" and digits); throws ScriptError otherwise.
int ParseInteger(const Command& command, const QString& text);

}  // namespace app::script
