#include "app/reset_settings.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "app/settings_file.h"

namespace app {

int ResetSettings() {
  auto settings = OpenSettingsFile();
  const QString path = settings->fileName();
  const auto present = [&path] {
    const QFileInfo file(path);
    return file.exists() || file.isSymLink();
  };
  // Nothing to forget; opening the settings made no file or folder.
  if (!present()) return 0;
  // Emptied through the settings object first, under the lock file that every writer of
  // it takes; closed before the removal, so that closing cannot write it back.
  settings->clear();
  settings->sync();
  settings.reset();
  QFile::remove(path);
  if (!present()) return 0;
  std::fprintf(stderr, "tessaly: 无法删除设置文件 %s\n", qUtf8Printable(path));
  return 1;
}

}  // namespace app
