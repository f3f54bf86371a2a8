#include "platform/watched_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

extern char** environ;

namespace platform {

WatchedRun RunWatched(const std::string& program, const std::vector<std::string>& arguments,
                      std::chrono::milliseconds quietLimit) {
  WatchedRun ended;
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return ended;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);  // ignored signals would be inherited through exec
  sigaddset(&defaults, SIGXFSZ);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    return ended;
  }

  // The process's own descriptor tells when it has ended even while something it started
  // still holds the output open. Without one, the end of the output has to do.
  const int pidFd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  int outputFd = pipeFds[0];
  bool exited = false, killed = false;
  auto killGroup = [&] {
    if (!killed) kill(-pid, SIGKILL);
    killed = true;
  };
  auto deadline = std::chrono::steady_clock::now() + quietLimit;
  while (outputFd >= 0) {
    pollfd watched[2] = {{outputFd, POLLIN, 0}, {exited ? -1 : pidFd, POLLIN, 0}};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const int ready = poll(watched, 2, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      if (killed) break;  // only a process outside the group can hold the output now
      // Silent too long (or poll itself failed): end the whole group.
      ended.timedOut = true;
      killGroup();
      deadline = std::chrono::steady_clock::now() + quietLimit;
      continue;
    }
    if (watched[0].revents != 0) {
      char buffer[4096];
      const ssize_t got = read(outputFd, buffer, sizeof buffer);
      if (got > 0) {
        ended.output.append(buffer, static_cast<std::size_t>(got));
        if (!killed) deadline = std::chrono::steady_clock::now() + quietLimit;
      } else if (got == 0 || errno != EINTR) {
        close(outputFd);
        outputFd = -1;
      }
    }
    if (watched[1].fd >= 0 && watched[1].revents != 0) {
      // Still a zombie, so its process group cannot have been reused: sweep up anything
      // it left running, which would keep the output open.
      exited = true;
      killGroup();
    }
  }
  if (outputFd >= 0) close(outputFd);
  if (pidFd >= 0) close(pidFd);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  ended.clean = !ended.timedOut && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return ended;
}

}  // namespace platform
