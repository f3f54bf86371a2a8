#pragma once
// `tessaly --reset-settings`: the next start of the window begins from the defaults.

namespace app {

// Removes the remembered settings. Returns the exit status: 0 when no settings file is
// left (none there counts), 1 with a line on standard error when it could not be removed.
int ResetSettings();

}  // namespace app
