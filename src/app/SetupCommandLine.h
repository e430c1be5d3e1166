// The switches Setup.exe takes on its command line, and their help text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "project/InstallScope.h"

namespace vesk {

struct SetupOptions {
    bool silent = false;           // /S: install without the wizard
    bool help = false;             // /?: show the switches
    bool noRestart = false;        // /NORESTART: never restart the computer
    std::string installDir;        // /D=FOLDER, "" when not given
    std::string logPath;           // /LOG=FILE, "" when not given
    std::uint32_t languageId = 0;  // /LANG=ID (hexadecimal, 804), 0 when not given
};

struct ParsedCommandLine {
    SetupOptions options;
    std::string error;  // what is wrong with the command line; empty when it is good
};

// Reads the arguments after the program's name. Switch names are matched in any letter case.
// Arguments are separated by blanks or tabs; a quotation mark starts or ends a quoted stretch in
// which blanks belong to the argument, and is itself dropped ("/LOG=C:\my logs\a.log" quoted
// whole or after the =); a backslash is an ordinary character. /D= takes the rest of the line,
// blanks included (so it must come last), without trailing blanks and without one pair of
// enclosing quotation marks; quoted as a whole it may come anywhere. The folder must be a full
// path of names Windows can hold (the destination page's rule; one trailing backslash is
// dropped). Anything else, an unknown switch, an argument that is no switch, an empty /LOG= or a
// bad /D= folder, is an error naming it; `silent` is set all the same when /S is on the line.
ParsedCommandLine ParseSetupCommandLine(const std::string& arguments);

// The help message: for whom the setup installs (when its project could be read: `scope`), the
// switches and the exit codes.
std::string SetupCommandLineHelp(std::optional<InstallScope> scope = std::nullopt);

}  // namespace vesk
