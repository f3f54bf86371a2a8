#pragma once
// The bytes of a path that a file or folder dialog gave as text.

#include <QString>

#include "platform/native_path.h"

namespace app {

// Qt decodes file names as UTF-8 and shows bytes that are not (names copied from a
// Chinese system) as replacement marks, which lead to no file. A path that does not
// exist as written is found again, folder by folder, among the entries whose name Qt
// shows as the dialog did; when none or several do, the path stays as written.
platform::NativePath ChosenPath(const QString& path);

}  // namespace app
