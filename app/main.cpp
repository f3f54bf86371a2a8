// The program's entry: the window for a person, or a batch script, or a template tried
// on the command line.

#include <QApplication>
#include <QCoreApplication>
#include <QFontDatabase>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/build_facts.h"
#include "app/form1.h"
#include "app/journal_command.h"
#include "app/qt_dialogs.h"
#include "app/reset_settings.h"
#include "app/script/script_driver.h"
#include "platform/process.h"
#include "platform/rewrite_in_place.h"
#include "platform/runtime_folder.h"

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
  platform::PrepareRuntimeFolder();
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

int RunScript(int argc, char** argv) {
  UseOffscreenWithoutDisplay();
  platform::PrepareRuntimeFolder();
  QApplication application(argc, argv);
  QApplication::setApplicationName(app::kWindowCaption);
  ApplyWindowFont(application);
  return app::RunCommandLine(argc, argv);
}

int RunResetSettings(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  return app::ResetSettings();
}

int PrintVersion(int /*argc*/, char** /*argv*/) {
  std::printf("tessaly %s\n", app::kProgramVersion);
  return 0;
}

int PrintHelp(int argc, char** argv);

// Every use of the program besides the window, by its first argument. --help lists
// this table and every other argument is refused, so the two cannot drift apart.
struct CommandLineUse {
  const char* option;
  const char* arguments;  // as --help shows them
  const char* summary;
  // Arguments after the option at most; -1 where the use checks them itself.
  int maxArguments;
  // Whether the use works on the user's files: then the process is prepared for that
  // first, and a save that a killed run left halfway is finished.
  bool touchesFiles;
  int (*run)(int argc, char** argv);
};

constexpr CommandLineUse kUses[] = {
    {"--script", "FILE|-", "不显示窗口，运行批处理脚本（- 从标准输入读取）", -1, true, RunScript},
    // Trying a template needs no window toolkit at all.
    {"--eval", "[--raw] ITEM [SOURCE]", "计算模板项目 ITEM，SOURCE 为原文字", -1, true,
     app::RunCommandLine},
    {"--expr", "TEXT", "计算数值参数表达式", -1, true, app::RunCommandLine},
    // The journal needs no window toolkit either.
    {"--undo", "[ID]", "撤销最近一次批处理，或编号 ID 及其后的各次", 1, true,
     app::RunJournalCommand},
    {"--history", "", "列出记录的批处理（编号、时间、方式、文件数、状态）", 0, true,
     app::RunJournalCommand},
    {"--reset-settings", "", "忘记窗口记住的设置，下次启动用默认值", 0, false, RunResetSettings},
    {"--version", "", "显示版本", 0, false, PrintVersion},
    {"--help", "", "显示本说明", 0, false, PrintHelp},
};

int PrintHelp(int /*argc*/, char** /*argv*/) {
  std::printf("用法：tessaly [选项]\n不带选项时打开窗口。\n\n选项：\n");
  for (const CommandLineUse& use : kUses) {
    char head[64];
    std::snprintf(head, sizeof head, "%s %s", use.option, use.arguments);
    std::printf("  %-30s %s\n", head, use.summary);
  }
  return 0;
}

constexpr int kWrongCommandLine = 2;

int Refuse(const char* argument) {
  std::fprintf(stderr, "tessaly: %s %s（用 --help 查看用法）\n",
               argument[0] == '-' ? "未知选项" : "多余的参数", argument);
  return kWrongCommandLine;
}

const CommandLineUse* FindUse(const char* option) {
  for (const CommandLineUse& use : kUses)
    if (std::strcmp(use.option, option) == 0) return &use;
  return nullptr;
}

void PrepareForFiles() {
  platform::PrepareProcess();
  platform::CompleteInterruptedRewrites();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrepareForFiles();
    return RunWindow(argc, argv);
  }
  const CommandLineUse* use = FindUse(argv[1]);
  if (use == nullptr) return Refuse(argv[1]);
  if (use->maxArguments >= 0 && argc - 2 > use->maxArguments)
    return Refuse(argv[2 + use->maxArguments]);
  if (use->touchesFiles) PrepareForFiles();
  return use->run(argc, argv);
}
