#pragma once
// The bytes of a path that a file or folder dialog gave as text, or a drop as a URL.

#include <QString>
#include <QUrl>
#include <optional>

#include "platform/native_path.h"

namespace app {

// Qt decodes file names as UTF-8 and shows bytes that are not (names copied from a
// Chinese system) as replacement marks, which lead to no file. A path that does not
// exist as written is found again, folder by folder, among the entries whose name Qt
// shows as the dialog did; when none or several do, the path stays as written.
platform::NativePath ChosenPath(const QString& path);

// A URL carries the bytes themselves, percent-encoded: they are decoded straight to bytes,
// never through text, so a name that is not UTF-8 keeps its own. Nothing for a URL that
// names no path on this machine, or one holding a zero byte (which would cut the path
// short at the system call). A trailing "/" is dropped.
std::optional<platform::NativePath> DroppedPath(const QUrl& url);

}  // namespace app
