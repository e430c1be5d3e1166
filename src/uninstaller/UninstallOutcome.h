// How an uninstall ends: the exit code of the uninstaller and the messages it shows.
#pragma once

#include <string>

#include "uninstaller/UninstallLog.h"
#include "uninstaller/UninstallTexts.h"
#include "uninstaller/UninstallWorker.h"

namespace vesk {

// The uninstaller's exit codes, the same classes as Setup.exe's.
enum UninstallExitCode : int {
    kUninstallRemoved = 0,        // everything the log names is gone
    kUninstallFailed = 1,         // nothing was removed (a missing or damaged log), or some file
                                  // could neither be removed nor scheduled
    kUninstallClosed = 2,         // the window was closed before Uninstall was pressed
    kUninstallHelpShown = 3,      // /? or a refused command line: the switches were shown
    kUninstallRecordRefused = 4,  // the log is not the one the install recorded: nothing was
                                  // removed (or, confirmed, only the entry in the list)
    kUninstallAtRestart = 3010,   // removed, but files in use go only when the system restarts
};

int ExitCodeOf(const UninstallResult& result);

// The message at the end: the product's name and version with UnInstallComplete, then the files
// that go at the next restart and those that stay, one per line.
std::string FinalMessage(const UninstallTexts& texts, const std::string& title,
                         const UninstallResult& result);

// Why nothing can be removed with the log at `path`.
std::string LogProblemMessage(LogState state, const std::string& path);
// Why nothing was removed when the log at `path` is not the one the install of `title` recorded.
std::string RecordProblemMessage(const std::string& path, const std::string& title);
// The question whether to take `title` off the list of installed programs all the same.
std::string RemoveEntryQuestion(const std::string& title);

}  // namespace vesk
