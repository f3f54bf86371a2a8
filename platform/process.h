#pragma once
// What the program sets up once, at its start, for the rest of the core to rely on.

namespace platform {

// A write past the process's file-size limit (ulimit -f) ends the process by default,
// silently, in the middle of a save. Ignored, the write fails instead, and the save
// reports "Cannot create file %s" and leaves the file as it was.
void PrepareProcess();

}  // namespace platform
