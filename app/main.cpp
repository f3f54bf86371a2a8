// The program's entry: the window for a person, or a batch script, or a template tried
// on the command line.

#include <QApplication>
#include <QFontDatabase>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/form1.h"
#include "app/journal_command.h"
#include "app/qt_dialogs.h"
#include "app/script/script_driver.h"
#include "platform/process.h"
#include "platform/rewrite_in_place.h"

namespace {

// Qt aborts without a display unless a platform is named; scripts need none.
void UseOffscreenWithoutDisplay() {
  const bool hasDisplay =
      std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
  if (!hasDisplay && std::getenv("QT_QPA_PLATFORM") == nullptr)
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void ApplyWindowFont(QApplication& application) {
  const QStringList families = QFontDatabase::families();
  QString family;
  for (const QString& candidate :
       {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
        QStringLiteral("Noto Sans CJK SC")}) {
    if (families.contains(candidate)) {
      family = candidate;
      break;
    }
  }
  QFont font = application.font();
  if (!family.isEmpty()) font.setFamily(family);
  font.setPixelSize(12);
  application.setFont(font);
}

int RunWindow(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(app::kWindowCaption);
  QApplication::setApplicationDisplayName(app::kWindowCaption);
  ApplyWindowFont(application);
  app::QtDialogs dialogs;
  int status = 0;
  try {
    app::TForm1 form(dialogs);
    dialogs.SetParent(&form);
    form.show();
    status = QApplication::exec();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  platform::PrepareProcess();
  // A save that a killed run left halfway is finished before anything else.
  platform::CompleteInterruptedRewrites();
  const auto is = [&](const char* option) {
    return argc >= 2 && std::strcmp(argv[1], option) == 0;
  };
  // The journal needs no window toolkit either.
  if (is("--undo") || is("--history")) return app::RunJournalCommand(argc, argv);
  // Trying a template needs no window toolkit at all.
  if (is("--eval") || is("--expr")) return app::RunCommandLine(argc, argv);
  if (is("--script")) {
    UseOffscreenWithoutDisplay();
    QApplication application(argc, argv);
    QApplication::setApplicationName(app::kWindowCaption);
    ApplyWindowFont(application);
    return app::RunCommandLine(argc, argv);
  }
  return RunWindow(argc, argv);
}
