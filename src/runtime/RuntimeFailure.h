// The exit code of an engine program whose runtime cannot go on.
#pragma once

namespace vesk {

// Memory that has run out, or a system library without a function the program calls: the
// program ends as failed, the setup's and the uninstaller's code for it alike.
constexpr int kRuntimeFailureExitCode = 1;

}  // namespace vesk
