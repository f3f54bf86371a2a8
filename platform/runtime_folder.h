#pragma once
// The per-user runtime folder ($XDG_RUNTIME_DIR) that the window toolkit keeps its
// sockets and locks in. A login session sets it; su, cron, containers and CI do not, and
// then the toolkit prints a warning on standard error at every start.

#include <string>

namespace platform {

// The folder to use: `current` when it is usable, else TEMP/runtime-UID, made when
// missing and given mode 0700 when it is ours, else (that name taken by another user, a
// link or a file) a fresh private TEMP/tessaly-runtime-XXXXXX. Usable means what the
// toolkit checks: a real folder (not a link), owned by this user, mode exactly 0700; a
// missing `current` is made, as the toolkit would. Empty when no folder could be made.
std::string UsableRuntimeFolder(const std::string& current, const std::string& temp);

// Points XDG_RUNTIME_DIR at UsableRuntimeFolder(its value, $TMPDIR or /tmp) when it is
// unset or unusable; leaves a usable one alone. Call before the toolkit starts.
void PrepareRuntimeFolder();

}  // namespace platform
