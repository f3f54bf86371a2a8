#pragma once
// Where the help button finds the manual.

#include <QString>

namespace app {

// The manual beside the program (a build folder), else where a package installs it
// relative to the program (PREFIX/share/doc/tessaly/ for PREFIX/bin/tessaly, whatever
// PREFIX is). Empty when neither holds it.
QString FindManual(const QString& programFolder);

}  // namespace app
