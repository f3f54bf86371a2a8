#pragma once
// A host for tests: records every box and counter write, answers questions from a queue.

#include <deque>
#include <string>
#include <vector>

#include "platform/host.h"

namespace platform::testing {

class RecordingHost : public Host {
 public:
  // Every box as "[error] TEXT", "[info] TEXT" or "[question] TEXT -> yes|no".
  std::vector<std::string> boxes;
  std::deque<bool> answers;  // Yes = true; an empty queue answers No
  std::int64_t counters[3] = {0, 0, 0};
  int messageRuns = 0;
  std::vector<bool> commandEnabled;  // every SetCommandEnabled call, in order
  std::deque<std::size_t> picks;     // the random numbers to give, each taken modulo count; then 0

  void ShowError(std::string_view text) override {
    boxes.push_back("[error] " + std::string(text));
  }
  void ShowInfo(std::string_view text) override { boxes.push_back("[info] " + std::string(text)); }
  bool Ask(std::string_view text) override {
    const bool yes = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    boxes.push_back("[question] " + std::string(text) + (yes ? " -> yes" : " -> no"));
    return yes;
  }
  void ProcessMessages() override { ++messageRuns; }
  std::int64_t ReadCounter(Counter which) override { return counters[static_cast<int>(which)]; }
  void WriteCounter(Counter which, std::int64_t value) override {
    counters[static_cast<int>(which)] = value;
  }
  void SetCommandEnabled(bool enabled) override { commandEnabled.push_back(enabled); }
  std::size_t PickRandom(std::size_t count) override {
    if (picks.empty()) return 0;
    const std::size_t pick = picks.front() % count;
    picks.pop_front();
    return pick;
  }

  std::int64_t Count(Counter which) const { return counters[static_cast<int>(which)]; }
};

}  // namespace platform::testing
