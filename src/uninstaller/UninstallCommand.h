// The uninstaller's command line: the log of the install to remove, quoted or not, and its
// switches.
#pragma once

#include <string>

namespace vesk {

// What the uninstaller was asked to do.
struct UninstallCommand {
    std::string logPath;  // as given, without its quotes
    bool silent = false;  // /S: no window and no message; the exit code tells how it went (set
                          // even on a refused line that holds /S)
    bool help = false;    // /?: the switches are shown and nothing is removed
    std::string error;    // why the line is refused; empty when it is usable
};

// The arguments of a whole command line: what follows the program's own path, which is quoted
// or ends at the first blank, as the system's start-up code reads it.
std::string ArgumentsOf(const std::string& commandLine);

// Reads the arguments as the uninstall entry and the uninstall shortcut give them: the log path,
// in quotes or not (an unquoted path keeps its blanks), with switches before or after it, in any
// letter case: /S and /?. Any other switch, a line without a log path (unless /? is given), a
// quote left open and text beside a quoted path are refused, `error` saying which.
UninstallCommand ParseUninstallCommand(const std::string& arguments);

// How the uninstaller is started, for /? and after a refused line.
std::string UninstallUsage();

}  // namespace vesk
