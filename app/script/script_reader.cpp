#include "app/script/script_reader.h"

#include <QStringDecoder>

namespace app::script {
namespace {

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

qsizetype SkipBlanks(const QString& text, qsizetype from) {
  while (from < text.size() && IsBlank(text[from])) ++from;
  return from;
}

qsizetype SkipWord(const QString& text, qsizetype from) {
  while (from < text.size() && !IsBlank(text[from])) ++from;
  return from;
}

}  // namespace

ScriptReader::ScriptReader(const QByteArray& script) : script_(script) {
  if (script_.startsWith("\xEF\xBB\xBF")) position_ = 3;  // a byte-order mark is no command
}

std::optional<QString> ScriptReader::NextLine() {
  if (position_ >= script_.size()) return std::nullopt;
  qsizetype end = script_.indexOf('\n', position_);
  if (end < 0) end = script_.size();
  QByteArrayView bytes(script_.constData() + position_, end - position_);
  position_ = end + 1;
  ++lineNumber_;
  if (bytes.endsWith('\r')) bytes.chop(1);
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  QString line = decoder.decode(bytes);
  if (decoder.hasError())
    throw ScriptError(lineNumber_, QStringLiteral("the line is not UTF-8 text"));
  return line;
}

std::optional<Command> ScriptReader::Next() {
  while (const std::optional<QString> line = NextLine()) {
    const QString& text = *line;
    const qsizetype start = SkipBlanks(text, 0);
    if (start == text.size() || text[start] == QLatin1Char('#')) continue;
    const qsizetype end = SkipWord(text, start);
    Command command;
    command.line = lineNumber_;
    command.word = text.mid(start, end - start);
    if (end < text.size()) command.rest = text.mid(end + 1);
    if (command.word == QLatin1String("text")) {
      // The block's lines are memo lines, kept exactly: blank and "#" lines included.
      while (true) {
        std::optional<QString> blockLine = NextLine();
        if (!blockLine) {
          throw ScriptError(
              command.line,
              QStringLiteral("the script ends before the \".\" that closes \"text\""));
        }
        if (*blockLine == QLatin1String(".")) break;
        command.block.append(*blockLine);
      }
    }
    return command;
  }
  return std::nullopt;
}

QStringList Arguments(const Command& command, int least, int most, const char* usage) {
  QStringList arguments;
  qsizetype position = SkipBlanks(command.rest, 0);
  while (position < command.rest.size()) {
    const qsizetype end = SkipWord(command.rest, position);
    arguments.append(command.rest.mid(position, end - position));
    position = SkipBlanks(command.rest, end);
  }
  if (arguments.size() < least || arguments.size() > most)
    throw ScriptError(command.line, QStringLiteral("usage: %1").arg(QLatin1String(usage)));
  return arguments;
}

std::pair<QString, QString> NameAndValue(const Command& command, const char* usage) {
  const QString& rest = command.rest;
  const qsizetype end = SkipWord(rest, 0);
  if (end == 0)
    throw ScriptError(command.line, QStringLiteral("usage: %1").arg(QLatin1String(usage)));
  return {rest.left(end), end < rest.size() ? rest.mid(end + 1) : QString()};
}

int ParseInteger(const Command& command, const QString& text) {
  const qsizetype digitsFrom = text.startsWith(QLatin1Char('-')) ? 1 : 0;
  bool digits = text.size() > digitsFrom;
  for (qsizetype i = digitsFrom; i < text.size(); ++i)
    digits = digits && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9');
  bool inRange = false;
  const int value = digits ? text.toInt(&inRange, 10) : 0;
  if (!digits || !inRange)
    throw ScriptError(command.line, QStringLiteral("\"%1\" is not a whole number").arg(text));
  return value;
}

}  // namespace app::script
