#pragma once
// What the file layer lets run while it waits for the disk: during a batch run, the
// window's message loop, so that the window repaints and answers however long a save
// of a large file takes. No hook outside runs: then a wait just waits.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace platform {

// Sets the hook (an empty function: none); returns the one it replaces.
std::function<void()> SetWaitHook(std::function<void()> hook);
bool HasWaitHook();
void CallWaitHook();

// How often a wait lets the hook run.
inline constexpr auto kWaitHookInterval = std::chrono::milliseconds(30);

// Waits on `changed` (whose mutex `lock` holds) until `ready()`, letting the hook run
// about every kWaitHookInterval with the mutex released.
template <typename Ready>
void WaitLettingHookRun(std::condition_variable& changed, std::unique_lock<std::mutex>& lock,
                        Ready ready) {
  if (!HasWaitHook()) {
    changed.wait(lock, ready);
    return;
  }
  while (!changed.wait_for(lock, kWaitHookInterval, ready)) {
    lock.unlock();
    CallWaitHook();
    lock.lock();
  }
}

// Runs `work` on a helper thread while this one lets the hook run; without a hook, here.
bool RunLettingHookRun(const std::function<bool()>& work);

}  // namespace platform
