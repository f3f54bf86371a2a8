#pragma once

#include <QString>

#include "app/build_facts.h"

namespace app {

// The maker's web site, shown by the link label.
inline const QString kMakerAddress = QStringLiteral("http://www.tessaly.example/");
// Where the tips file comes from; the environment variable TESSALY_TIPS_URL overrides it
// (tests serve tips from a local server).
inline const QString kTipsAddress = QStringLiteral("http://www.tessaly.example/tipsupd.dat");

// Shown in the window; the one version of the build, as `tessaly --version` prints it.
inline const QString kVersion = QString::fromLatin1(kProgramVersion);

}  // namespace app
