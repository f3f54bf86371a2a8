#pragma once
// What the core needs from the window: message boxes, the message loop, the three
// counters and the start button of the running command. The window implements it
// with real controls, the script driver with printed lines, tests with a recording fake.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

enum class Counter { Search, Change, Delete };  // stSrcCount, stChangeCount, stDeleteCount

class Host {
 public:
  virtual ~Host() = default;

  // Modal message boxes titled with the window's caption; texts are UTF-8.
  virtual void ShowError(std::string_view text) = 0;
  // An error box under a title of its own instead of the window's caption.
  virtual void ShowErrorTitled(std::string_view title, std::string_view text) {
    static_cast<void>(title);
    ShowError(text);
  }
  virtual void ShowInfo(std::string_view text) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool Ask(std::string_view text) = 0;

  // Lets pending window messages run. Cheap to call often: the window's implementation
  // returns at once unless some 30 ms have passed since it last ran the event loop.
  virtual void ProcessMessages() = 0;

  // The counters keep their count as caption text only; these read and write it.
  virtual std::int64_t ReadCounter(Counter which) = 0;
  virtual void WriteCounter(Counter which, std::int64_t value) = 0;

  // Enables or disables the start button of the command that is running.
  virtual void SetCommandEnabled(bool enabled) = 0;

  // The progress of a batch run, for the window's bar and its stop button (a script's
  // host shows none): a run over `total` files begins; `done` of them are complete and
  // `file` (engine text) is worked on; the text of the file being worked on is `text`,
  // and the run has come to `at` in it; the run has ended.
  virtual void RunBegins(std::int64_t total) { static_cast<void>(total); }
  virtual void RunAt(std::int64_t done, std::string_view file) {
    static_cast<void>(done);
    static_cast<void>(file);
  }
  virtual void RunFileText(std::string_view text) { static_cast<void>(text); }
  virtual void RunPosition(const char* at) { static_cast<void>(at); }
  virtual void RunEnds() {}
  // Whether the running batch was asked to stop (its stop button).
  virtual bool StopRequested() { return false; }

  // A number below `count` (at least 1) from the program's one random generator.
  virtual std::size_t PickRandom(std::size_t count) = 0;
};

inline void AddToCounter(Host& host, Counter which, std::int64_t delta) {
  host.WriteCounter(which, host.ReadCounter(which) + delta);
}

// Thrown where a batch run stops because it was asked to: the file being worked on is
// left untouched (nothing of it was saved yet), the files before it stay done.
struct RunStopped {};

// Lets the host's messages run during a loop over many small steps (the lines of a
// file) without asking it at every step: once every kStride steps, telling it how far
// the loop has come (`line` lies in the text being worked on, when given). A stop asked
// for meanwhile throws RunStopped. No host: nothing.
class MessagePacer {
 public:
  static constexpr int kStride = 256;
  explicit MessagePacer(Host* host) : host_(host) {}
  void Step(std::string_view line = {}) {
    if (host_ != nullptr && ++steps_ == kStride) {
      steps_ = 0;
      if (line.data() != nullptr) host_->RunPosition(line.data());
      host_->ProcessMessages();
      if (host_->StopRequested()) throw RunStopped{};
    }
  }

 private:
  Host* host_;
  int steps_ = 0;
};

// Disables the running command's start button for its lifetime and shows the run's
// progress over `total` files; the button comes back and the progress goes however the
// command ends, an exception included.
class CommandScope {
 public:
  explicit CommandScope(Host& host, std::int64_t total = 0) : host_(host) {
    host_.SetCommandEnabled(false);
    host_.RunBegins(total);
  }
  ~CommandScope() {
    host_.RunEnds();
    host_.SetCommandEnabled(true);
  }
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;

 private:
  Host& host_;
};

}  // namespace platform
