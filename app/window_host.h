#pragma once
// The core's host, carried out by the window: message boxes through the dialogs, the
// counters in their labels, the running command's start button, and a throttled message
// loop that first brings the grid up to date.

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <functional>
#include <optional>
#include <random>

#include "app/dialogs.h"
#include "platform/host.h"

namespace app {

class WindowHost : public platform::Host {
 public:
  struct Counters {
    QLabel* search;
    QLabel* change;
    QLabel* remove;
  };

  WindowHost(Dialogs& dialogs, std::function<void()> syncView);
  void SetCounters(Counters counters) { counters_ = counters; }

  void ShowError(std::string_view text) override;
  void ShowErrorTitled(std::string_view title, std::string_view text) override;
  void ShowInfo(std::string_view text) override;
  bool Ask(std::string_view text) override;
  void ProcessMessages() override;
  std::int64_t ReadCounter(platform::Counter which) override;
  void WriteCounter(platform::Counter which, std::int64_t value) override;
  void SetCommandEnabled(bool enabled) override;
  std::size_t PickRandom(std::size_t count) override;

  // The run's progress in `bar`, and `stop` enabled while a run goes on.
  void SetRunControls(QProgressBar* bar, QAbstractButton* stop);
  void RunBegins(std::int64_t total) override;
  void RunAt(std::int64_t done, std::string_view file) override;
  void RunFileText(std::string_view text) override;
  void RunPosition(const char* at) override;
  void RunEnds() override;
  bool StopRequested() override;
  // The stop button's press: the running batch ends at its next safe point.
  void RequestStop() { stopRequested_ = true; }
  // Presses the stop button once `files` files of the next run are done (scripts).
  void StopAfter(std::int64_t files) { stopAfter_ = files; }

  // The program's one random generator, which the tips banner draws from too.
  void SeedRandom(std::uint32_t seed) { random_.seed(seed); }

  // The start button of the command about to run; returns the one it replaces, so that
  // a command started while another lets messages run can hand it back.
  QAbstractButton* SetCommandButton(QAbstractButton* button);

 private:
  QLabel* CounterLabel(platform::Counter which) const;

  Dialogs& dialogs_;
  Counters counters_{};
  std::function<void()> syncView_;
  QAbstractButton* commandButton_ = nullptr;
  std::mt19937 random_;
  std::int64_t lastEvents_ = 0;  // when the event loop last ran, in milliseconds

  void ShowProgress();
  QProgressBar* bar_ = nullptr;
  QAbstractButton* stop_ = nullptr;
  int runs_ = 0;  // runs going on: a command started while another lets messages run nests
  std::int64_t total_ = 0;
  std::int64_t done_ = 0;
  std::string file_;       // engine text
  std::string_view text_;  // the text of the file being worked on
  const char* at_ = nullptr;
  bool stopRequested_ = false;
  std::optional<std::int64_t> stopAfter_;
  std::function<void()> outerWaitHook_;
};

}  // namespace app
