#pragma once
// Running another program and watching it: for helpers such as a spreadsheet application
// that may hang, and whose output tells how far they got.

#include <chrono>
#include <string>
#include <vector>

namespace platform {

struct WatchedRun {
  bool clean = false;     // exited by itself with status 0
  bool timedOut = false;  // killed after printing nothing for the quiet limit
  std::string output;     // standard output and error, mixed
};

// Runs `program` (a path) with `arguments` in a process group of its own, standard input
// from /dev/null, and collects what it prints. A program that prints nothing for
// `quietLimit` is killed with its whole group; so is whatever it left behind holding its
// output open once it has ended. A program that cannot be started ends unclean.
WatchedRun RunWatched(const std::string& program, const std::vector<std::string>& arguments,
                      std::chrono::milliseconds quietLimit);

}  // namespace platform
