#pragma once
// The journal's folder as the recording and the undo both see it: one folder per run,
// named by its number, holding its records and the old files it kept (files/TICKET).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/native_path.h"

namespace platform {

// The runs' numbers, oldest first.
std::vector<std::uint64_t> JournalRuns(const NativePath& journal);
NativePath RunFolder(const NativePath& journal, std::uint64_t id);
std::string KeptFile(const NativePath& run, std::uint64_t ticket);

// The bytes of the old files kept by every run but `except`.
std::uint64_t KeptBytes(const NativePath& journal, const NativePath& except);
// Removes a run's folder with all it holds.
void RemoveRun(const NativePath& run);
// Drops the oldest run but `except`; the bytes it kept, or nullopt when there is none.
std::optional<std::uint64_t> DropOldestRun(const NativePath& journal, const NativePath& except);

// A copy of the regular file `from` at the new path `to`, with its bytes, permission
// bits, DOS word and access and modification times, safe on the disk; false (and no
// copy) when it cannot be made.
bool CopyWithMetadata(const NativePath& from, const NativePath& to);

}  // namespace platform
