#pragma once

#include <QString>

namespace app {

// The maker's web site, shown by the link label.
inline const QString kMakerAddress = QStringLiteral("http://www.tessaly.example/");
// Where the tips file comes from; the environment variable TESSALY_TIPS_URL overrides it
// (tests serve tips from a local server).
inline const QString kTipsAddress = QStringLiteral("http://www.tessaly.example/tipsupd.dat");

inline const QString kVersion = QStringLiteral("0.1.0");

}  // namespace app
