#include "app/tips.h"

#include <string_view>

#include "app/engine_qstring.h"

namespace app {

QStringList TipsLines(const QByteArray& file) {
  // CR and LF never occur inside a multi-byte engine character, so splitting the
  // decoded text gives the same lines as splitting the bytes.
  const QString text =
      FromEngine(std::string_view(file.constData(), static_cast<std::size_t>(file.size())));
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
    lines << text.mid(start, i - start);
    if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  if (start < text.size()) lines << text.mid(start);
  return lines;
}

Tip ParseTip(const QString& line) {
  const QLatin1StringView separator("@#$");
  const qsizetype at = line.indexOf(separator);
  if (at >= 0) return {line.left(at), line.mid(at + separator.size())};
  // Without a separator the link starts where it would after a separator at position 0:
  // two characters in. A character beyond the basic plane is one pair of code units.
  qsizetype from = 0;
  for (int skipped = 0; skipped < 2 && from < line.size(); ++skipped) {
    const bool pair =
        line[from].isHighSurrogate() && from + 1 < line.size() && line[from + 1].isLowSurrogate();
    from += pair ? 2 : 1;
  }
  return {QString(), line.mid(from)};
}

}  // namespace app
