// The bracketed folder tokens a project path may start with: "[InstallDir]\Help".
#pragma once

#include <string>

namespace vesk {

enum class PathVariableKind : int {
    ProgramFiles = 0,       // "[Program Files]"
    InstallDir = 1,         // "[InstallDir]"
    WindowsDirectory = 2,   // "[Windows Directory]"
    SystemDirectory = 3,    // "[System Directory]"
    DesktopDirectory = 4,   // "[Desktop Directory]"
    AbsoluteDirectory = 5,  // "[Absolute Directory]"
    TempFileDir = 6,        // "[TempFileDir]"
    StartMenu = 7,          // "[Start Menu]"
    Startup = 8,            // "[Startup]"
    QuickLaunch = 9,        // "[QuickLaunch]"
    None = 10,              // no token
};

// "[" + name + "]"; "" for None.
std::string PathVariableToken(PathVariableKind kind);

// The kind whose token equals `text` when both are upper-cased; None when no token does.
PathVariableKind PathVariableKindFromToken(const std::string& text);

}  // namespace vesk
