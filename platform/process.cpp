#include "platform/process.h"

#include <csignal>

namespace platform {

void PrepareProcess() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace platform
