#include "app/chosen_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/file_system.h"

namespace app {
namespace {

platform::NativePath Written(const QString& path) {
  return platform::NativePath(QFile::encodeName(QDir::fromNativeSeparators(path)).toStdString());
}

}  // namespace

platform::NativePath ChosenPath(const QString& path) {
  platform::NativePath written = Written(path);
  const QFileInfo info(QDir::fromNativeSeparators(path));
  const QString name = info.fileName();
  if (platform::ReadEntry(written) || name.isEmpty() || info.path() == path) return written;
  const platform::NativePath folder = ChosenPath(info.path());
  const platform::NativePath same =
      platform::JoinPath(folder, written.bytes().substr(written.bytes().rfind('/') + 1));
  if (platform::ReadEntry(same)) return same;
  std::optional<std::string> found;
  for (const platform::DirEntry& entry : platform::ListFolder(folder, "*")) {
    const std::string_view native = entry.NativeName();
    const QByteArray bytes(native.data(), static_cast<qsizetype>(native.size()));
    if (QFile::decodeName(bytes) != name) continue;
    if (found) return written;  // two names show alike: no telling which was meant
    found = std::string(native);
  }
  return found ? platform::JoinPath(folder, *found) : written;
}

std::optional<platform::NativePath> DroppedPath(const QUrl& url) {
  if (!url.isLocalFile()) return std::nullopt;
  const QString host = url.host();
  if (!host.isEmpty() && host != QLatin1String("localhost")) return std::nullopt;
  QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  if (!bytes.startsWith('/') || bytes.contains('\0')) return std::nullopt;
  while (bytes.size() > 1 && bytes.endsWith('/')) bytes.chop(1);
  return platform::NativePath(bytes.toStdString());
}

}  // namespace app
