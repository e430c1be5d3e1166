// The message box that lists Setup.exe's switches.
#pragma once

#include <string>

namespace vesk {

// Shows `help` (SetupCommandLineHelp: the setup's mode, the switches and exit codes) in a message
// box, after `problem` (what was wrong with the command line) when there is one; returns when it
// is closed.
void ShowCommandLineHelp(const std::string& problem, const std::string& help);

}  // namespace vesk
