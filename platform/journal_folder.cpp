#include "platform/journal_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/file_system.h"
#include "platform/wait_hook.h"

namespace platform {
namespace {

// The names of a folder's entries, without "." and "..".
std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  return names;
}

std::uint64_t RunBytes(const NativePath& run) {
  const std::string files = run.bytes() + "/files";
  std::uint64_t bytes = 0;
  for (const std::string& name : Entries(files)) {
    struct stat st;
    if (lstat((files + "/" + name).c_str(), &st) == 0)
      bytes += static_cast<std::uint64_t>(st.st_size);
  }
  return bytes;
}

}  // namespace

std::vector<std::uint64_t> JournalRuns(const NativePath& journal) {
  std::vector<std::uint64_t> runs;
  for (const std::string& name : Entries(journal.bytes())) {
    if (name.empty() || name.size() > 18 ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    runs.push_back(std::stoull(name));
  }
  std::sort(runs.begin(), runs.end());
  return runs;
}

NativePath RunFolder(const NativePath& journal, std::uint64_t id) {
  return NativePath(journal.bytes() + "/" + std::to_string(id));
}

std::string KeptFile(const NativePath& run, std::uint64_t ticket) {
  return run.bytes() + "/files/" + std::to_string(ticket);
}

std::uint64_t KeptBytes(const NativePath& journal, const NativePath& except) {
  std::uint64_t bytes = 0;
  for (const std::uint64_t id : JournalRuns(journal)) {
    const NativePath run = RunFolder(journal, id);
    if (run != except) bytes += RunBytes(run);
  }
  return bytes;
}

void RemoveRun(const NativePath& run) {
  // Freeing a gigabyte of old files takes a while: the window answers meanwhile.
  RunLettingHookRun([&run] {
    std::error_code error;
    std::filesystem::remove_all(run.bytes(), error);
    return true;
  });
}

std::optional<std::uint64_t> DropOldestRun(const NativePath& journal, const NativePath& except) {
  for (const std::uint64_t id : JournalRuns(journal)) {
    const NativePath run = RunFolder(journal, id);
    if (run == except) continue;
    const std::uint64_t bytes = RunBytes(run);
    RemoveRun(run);
    return bytes;
  }
  return std::nullopt;
}

bool CopyWithMetadata(const NativePath& from, const NativePath& to) {
  const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (in < 0) return false;
  struct stat st;
  const int out = fstat(in, &st) == 0 && S_ISREG(st.st_mode)
                      ? open(to.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600)
                      : -1;
  bool done = out >= 0;
  for (off_t left = st.st_size; done && left > 0;) {
    const ssize_t n = sendfile(out, in, nullptr, static_cast<std::size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    done = n > 0;
    left -= n;
  }
  if (done) {
    char dos[256];
    const ssize_t length = fgetxattr(in, kDosAttributeName, dos, sizeof dos);
    if (length >= 0) fsetxattr(out, kDosAttributeName, dos, static_cast<std::size_t>(length), 0);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    done = fchmod(out, st.st_mode & 07777) == 0 && futimens(out, times) == 0 && fsync(out) == 0;
  }
  close(in);
  if (out >= 0 && close(out) != 0) done = false;
  if (out >= 0 && !done) unlink(to.c_str());
  return done;
}

}  // namespace platform
