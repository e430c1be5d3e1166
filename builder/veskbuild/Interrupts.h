// Interrupts of the tool (SIGINT, SIGTERM; Ctrl+C and Ctrl+Break on Windows) as a flag that a
// build polls, so that an interrupted build cleans up exactly as a failed one does.
#pragma once

#include <atomic>

namespace vesk::tool {

// Clears the flag, installs the handlers and gives the flag they set. A second interrupt ends the
// process at once, as without handlers.
const std::atomic<bool>& WatchInterrupts();

// The exit code of an interrupted command (128 + SIGINT, as shells report it).
constexpr int kInterruptedExitCode = 130;

}  // namespace vesk::tool
