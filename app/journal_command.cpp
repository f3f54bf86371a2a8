#include "app/journal_command.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

#include "platform/journal_undo.h"

namespace app {
namespace {

// A box line as batch scripts print it: a line break inside the text as "\n".
void PrintBox(const char* kind, const std::string& text) {
  std::string line = std::string("[") + kind + "] ";
  for (const char c : text) line += c == '\n' ? std::string("\\n") : std::string(1, c);
  std::printf("%s\n", line.c_str());
}

std::string LocalTime(std::int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&time, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

int History() {
  for (const platform::JournalRun& run : platform::JournalHistory()) {
    const std::string_view state = platform::StateWord(run.state);
    std::printf("%llu\t%s\t%s\t%lld\t%.*s\n", static_cast<unsigned long long>(run.id),
                LocalTime(run.time).c_str(), run.mode.c_str(), static_cast<long long>(run.files),
                static_cast<int>(state.size()), state.data());
  }
  return 0;
}

int Undo(const char* id) {
  platform::UndoResult undone;
  if (id == nullptr) {
    const std::optional<platform::JournalRun> latest = platform::LatestUndoable();
    if (!latest) {
      PrintBox("info", "没有可撤销的批处理");
      return 1;
    }
    undone = platform::UndoRun(latest->id);
  } else {
    char* end = nullptr;
    const unsigned long long wanted = std::strtoull(id, &end, 10);
    bool known = false;
    for (const platform::JournalRun& run : platform::JournalHistory())
      known = known || (run.id == wanted && run.state != platform::RunState::Undone);
    if (*id == '\0' || *end != '\0' || !known) {
      PrintBox("error", std::string("没有可撤销的编号为 ") + id + " 的批处理");
      return 1;
    }
    undone = platform::UndoRunsFrom(wanted);
  }
  PrintBox("info", platform::UndoMessage(undone));
  return undone.restored > 0 ? 0 : 1;
}

}  // namespace

int RunJournalCommand(int argc, char** argv) {
  if (std::strcmp(argv[1], "--history") == 0) return History();
  return Undo(argc >= 3 ? argv[2] : nullptr);
}

}  // namespace app
