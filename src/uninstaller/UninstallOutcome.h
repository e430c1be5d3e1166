// How an uninstall ends: the exit code of the uninstaller and the messages it shows.
#pragma once

#include <string>

#include "uninstaller/UninstallLog.h"
#include "uninstaller/UninstallTexts.h"
#include "uninstaller/UninstallWorker.h"

namespace vesk {

// The uninstaller's exit codes, the same classes as Setup.exe's.
enum UninstallExitCode : int {
    kUninstallRemoved = 0,       // everything the log names is gone
    kUninstallFailed = 1,        // nothing was removed (a missing or damaged log), or some file
                                 // could neither be removed nor scheduled
    kUninstallClosed = 2,        // the window was closed before Uninstall was pressed
    kUninstallHelpShown = 3,     // /? or a refused command line: the switches were shown
    kUninstallAtRestart = 3010,  // removed, but files in use go only when the system restarts
};

int ExitCodeOf(const UninstallResult& result);

// The message at the end: the product's name and version with UnInstallComplete, then the files
// that go at the next restart and those that stay, one per line.
std::string FinalMessage(const UninstallTexts& texts, const std::string& title,
                         const UninstallResult& result);

// Why nothing can be removed with the log at `path`.
std::string LogProblemMessage(LogState state, const std::string& path);

}  // namespace vesk
