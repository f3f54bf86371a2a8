#pragma once
// The one crossing between the window's QString and engine text.

#include <QString>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace app {

inline std::string ToEngine(const QString& text) {
  return platform::Utf16ToEngine(std::u16string_view(
      reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

inline QString FromEngine(std::string_view engine) {
  if (platform::IsAscii(engine))
    return QString::fromLatin1(engine.data(), static_cast<qsizetype>(engine.size()));
  return QString::fromStdU16String(platform::EngineToUtf16(engine));
}

// Memo texts are joined with CR LF between lines, whatever the platform's line break.
inline QString MemoText(const QString& plain) {
  QString text = plain;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return text;
}

}  // namespace app
