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

  // A number below `count` (at least 1) from the program's one random generator.
  virtual std::size_t PickRandom(std::size_t count) = 0;
};

inline void AddToCounter(Host& host, Counter which, std::int64_t delta) {
  host.WriteCounter(which, host.ReadCounter(which) + delta);
}

// Lets the host's messages run during a loop over many small steps (the lines of a
// file) without asking it at every step: once every kStride steps. No host: nothing.
class MessagePacer {
 public:
  static constexpr int kStride = 256;
  explicit MessagePacer(Host* host) : host_(host) {}
  void Step() {
    if (host_ != nullptr && ++steps_ == kStride) {
      steps_ = 0;
      host_->ProcessMessages();
    }
  }

 private:
  Host* host_;
  int steps_ = 0;
};

// Disables the running command's start button for its lifetime; the button comes back
// however the command ends, an exception included.
class CommandScope {
 public:
  explicit CommandScope(Host& host) : host_(host) { host_.SetCommandEnabled(false); }
  ~CommandScope() { host_.SetCommandEnabled(true); }
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;

 private:
  Host& host_;
};

}  // namespace platform
