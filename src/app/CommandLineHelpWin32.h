// The message box that lists Setup.exe's switches.
#pragma once

#include <string>

namespace vesk {

// Shows the switches and exit codes (SetupCommandLineHelp) in a message box, after `problem`
// (what was wrong with the command line) when there is one; returns when it is closed.
void ShowCommandLineHelp(const std::string& problem);

}  // namespace vesk
