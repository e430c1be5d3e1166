// Reading Setup.exe's switches.
#include "app/SetupCommandLine.h"

#include "project/LanguageTable.h"
#include "project/NameCase.h"
#include "wizard/DestinationCommit.h"

namespace vesk {
namespace {

constexpr char kInstallDirSwitch[] = "/D=";
constexpr char kLogSwitch[] = "/LOG=";
constexpr char kLanguageSwitch[] = "/LANG=";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether `text` starts with the switch `prefix` (upper case), in any letter case.
bool StartsWithSwitch(const std::string& text, std::size_t at, const std::string& prefix) {
    return UpperName(text.substr(at, prefix.size())) == prefix;
}

// The rest of the line for /D=: trailing blanks and one pair of enclosing quotes removed.
std::string RestOfLine(const std::string& text, std::size_t at) {
    std::size_t end = text.size();
    while (end > at && IsBlank(text[end - 1])) --end;
    std::string rest = text.substr(at, end - at);
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
        rest = rest.substr(1, rest.size() - 2);
    }
    return rest;
}

// One argument from `at`: up to the first blank outside quotes, quotes dropped.
std::string NextArgument(const std::string& text, std::size_t& at) {
    std::string argument;
    bool quoted = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '"') {
            quoted = !quoted;
        } else if (IsBlank(c) && !quoted) {
            break;
        } else {
            argument += c;
        }
    }
    return argument;
}

// Applies one argument; false with `error` set when it is not a switch Setup takes.
bool TakeArgument(const std::string& argument, SetupOptions& options, std::string& error) {
    const std::string upper = UpperName(argument);
    if (upper == "/S") {
        options.silent = true;
    } else if (upper == "/?") {
        options.help = true;
    } else if (upper == "/NORESTART") {
        options.noRestart = true;
    } else if (StartsWithSwitch(argument, 0, kLogSwitch)) {
        options.logPath = argument.substr(sizeof kLogSwitch - 1);
        if (options.logPath.empty()) error = "/LOG= needs the name of the log file.";
    } else if (StartsWithSwitch(argument, 0, kLanguageSwitch)) {
        if (!ParseLanguageId(argument.substr(sizeof kLanguageSwitch - 1), options.languageId)) {
            error = "/LANG= needs a language identifier in hexadecimal (409, 804): " + argument;
        }
    } else if (StartsWithSwitch(argument, 0, kInstallDirSwitch)) {
        // As at the end of the line: a folder name never ends in a blank.
        options.installDir = RestOfLine(argument, sizeof kInstallDirSwitch - 1);
    } else if (!argument.empty() && argument[0] == '/') {
        error = "Unknown switch: " + argument;
    } else {
        error = "Not a switch: " + argument;
    }
    return error.empty();
}

// Whether /S is among the arguments before any /D=, whatever else the line holds.
bool MentionsSilent(const std::string& arguments) {
    for (std::size_t at = 0; at < arguments.size();) {
        while (at < arguments.size() && IsBlank(arguments[at])) ++at;
        if (at >= arguments.size() || StartsWithSwitch(arguments, at, kInstallDirSwitch)) break;
        if (UpperName(NextArgument(arguments, at)) == "/S") return true;
    }
    return false;
}

}  // namespace

ParsedCommandLine ParseSetupCommandLine(const std::string& arguments) {
    ParsedCommandLine parsed;
    SetupOptions& options = parsed.options;
    // Known even when the line is refused: nothing may then wait for a click.
    options.silent = MentionsSilent(arguments);
    std::size_t at = 0;
    bool installDirGiven = false;
    while (parsed.error.empty()) {
        while (at < arguments.size() && IsBlank(arguments[at])) ++at;
        if (at >= arguments.size()) break;
        if (StartsWithSwitch(arguments, at, kInstallDirSwitch)) {
            options.installDir = RestOfLine(arguments, at + sizeof kInstallDirSwitch - 1);
            installDirGiven = true;
            break;
        }
        const std::string argument = NextArgument(arguments, at);
        if (!TakeArgument(argument, options, parsed.error)) break;
        installDirGiven = installDirGiven || StartsWithSwitch(argument, 0, kInstallDirSwitch);
    }
    if (parsed.error.empty() && installDirGiven) {
        const auto folder = CommitPathOf(options.installDir);
        if (folder) {
            options.installDir = *folder;
        } else {
            parsed.error = "/D= needs the full path of a folder (C:\\Program Files\\Product): " +
                           options.installDir;
        }
    }
    return parsed;
}

std::string SetupCommandLineHelp(std::optional<InstallScope> scope) {
    std::string mode;
    if (scope) {
        mode = *scope == InstallScope::User
                   ? "This setup installs for the current user only, without administrator "
                     "rights.\r\n\r\n"
                   : "This setup installs for every user of the computer and asks for "
                     "administrator rights.\r\n\r\n";
    }
    // One paragraph per switch: the message box wraps them itself.
    return mode +
           "Setup [/S] [/NORESTART] [/LOG=FILE] [/LANG=ID] [/D=FOLDER]\r\n"
           "\r\n"
           "/S  -  Install without the wizard: the proposed folders, the registered user, the "
           "licence taken as accepted, no restart.\r\n"
           "/D=FOLDER  -  Install into FOLDER, a full path. Last on the line; it may hold "
           "blanks without quotation marks.\r\n"
           "/LOG=FILE  -  Write what the setup does to FILE, as UTF-8 text.\r\n"
           "/LANG=ID  -  Show the setup in the language ID (hexadecimal: 409 English, 804 "
           "Simplified Chinese, 404 Traditional Chinese) when the setup has it; otherwise the "
           "user's language, then the system's, then English.\r\n"
           "/NORESTART  -  Never restart the computer.\r\n"
           "/?  -  Show this help.\r\n"
           "\r\n"
           "Exit codes: 0 installed, 1 failed, 2 cancelled, 3 help shown (nothing installed), "
           "4 the setup is damaged, 5 a newer version is installed (/S; nothing installed), "
           "3010 installed and a restart is required.";
}

}  // namespace vesk
