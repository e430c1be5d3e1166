// The uninstaller's run: the command line, the kept texts, the log, then the window or, with /S,
// the removal alone.
#pragma once

#include <string>

namespace vesk {

class UninstallApp {
public:
    // The whole run for the program's command line (its own path first); the exit code
    // (UninstallExitCode).
    int Run(const std::string& commandLine);
};

}  // namespace vesk
