#include "app/manual_path.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <vector>

namespace app {
namespace {

// A build folder holds the manual beside the program; a package puts the program in
// PREFIX/bin and the manual in PREFIX/share/doc/tessaly, whatever PREFIX is.
struct Row {
  const char* name;
  const char* programFolder;
  std::vector<const char*> files;    // the manual's copies, relative to the root
  std::vector<const char*> folders;  // folders standing where a manual could be
  const char* expected;              // relative to the root; "" when none is found
};

void Make(const QString& path, bool asFolder) {
  ASSERT_TRUE(QDir().mkpath(asFolder ? path : QFileInfo(path).path()));
  if (asFolder) return;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(FindManual, FindsTheBuildAndTheInstalledLayout) {
  const Row rows[] = {
      {"build folder", "build/bin", {"build/bin/使用说明.txt"}, {}, "build/bin/使用说明.txt"},
      {"installed under /usr",
       "usr/bin",
       {"usr/share/doc/tessaly/使用说明.txt"},
       {},
       "usr/share/doc/tessaly/使用说明.txt"},
      {"installed under another prefix",
       "opt/t/bin",
       {"opt/t/share/doc/tessaly/使用说明.txt"},
       {},
       "opt/t/share/doc/tessaly/使用说明.txt"},
      {"beside the program first",
       "usr/bin",
       {"usr/bin/使用说明.txt", "usr/share/doc/tessaly/使用说明.txt"},
       {},
       "usr/bin/使用说明.txt"},
      {"a folder of that name is no manual",
       "usr/bin",
       {"usr/share/doc/tessaly/使用说明.txt"},
       {"usr/bin/使用说明.txt"},
       "usr/share/doc/tessaly/使用说明.txt"},
      {"another package's folder", "usr/bin", {"usr/share/doc/other/使用说明.txt"}, {}, ""},
      {"none", "usr/bin", {}, {}, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const auto at = [&root](const char* relative) {
      return root.path() + QLatin1Char('/') + QString::fromUtf8(relative);
    };
    ASSERT_TRUE(QDir().mkpath(at(row.programFolder)));
    for (const char* file : row.files) Make(at(file), false);
    for (const char* folder : row.folders) Make(at(folder), true);
    const QString expected = *row.expected == '\0' ? QString() : at(row.expected);
    EXPECT_EQ(FindManual(at(row.programFolder)).toStdString(), expected.toStdString());
  }
}

}  // namespace
}  // namespace app
