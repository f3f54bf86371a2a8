#include "platform/wait_hook.h"

#include <thread>

namespace platform {
namespace {

std::function<void()>& Hook() {
  static std::function<void()> hook;
  return hook;
}

}  // namespace

std::function<void()> SetWaitHook(std::function<void()> hook) {
  std::swap(Hook(), hook);
  return hook;
}

bool HasWaitHook() { return static_cast<bool>(Hook()); }

void CallWaitHook() {
  // A copy: the hook may be replaced while it runs.
  if (const std::function<void()> hook = Hook()) hook();
}

bool RunLettingHookRun(const std::function<bool()>& work) {
  if (!HasWaitHook()) return work();
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  bool result = false;
  std::thread helper([&] {
    const bool ok = work();
    const std::lock_guard lock(mutex);
    result = ok;
    done = true;
    changed.notify_all();
  });
  {
    std::unique_lock lock(mutex);
    WaitLettingHookRun(changed, lock, [&] { return done; });
  }
  helper.join();
  return result;
}

}  // namespace platform
