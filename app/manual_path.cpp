#include "app/manual_path.h"

#include <QDir>
#include <QFileInfo>

#include "app/build_facts.h"

namespace app {

QString FindManual(const QString& programFolder) {
  const QString name = QString::fromUtf8(kManualFileName);
  for (const QString& folder :
       {programFolder, programFolder + QLatin1Char('/') + QLatin1String(kInstalledManualFolder)}) {
    const QString path = QDir::cleanPath(folder + QLatin1Char('/') + name);
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

}  // namespace app
