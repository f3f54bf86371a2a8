#pragma once
// Where the window keeps what a person set between two starts: one file,
// ~/.config/tessaly/tessaly.conf (Qt's settings in the XDG configuration folder).

#include <QSettings>
#include <QString>
#include <memory>

namespace app {

// NativeFormat is the INI text with the .conf name on this platform; IniFormat would name
// the file tessaly.ini.
inline std::unique_ptr<QSettings> OpenSettingsFile() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QStringLiteral("tessaly"), QStringLiteral("tessaly"));
}

}  // namespace app
