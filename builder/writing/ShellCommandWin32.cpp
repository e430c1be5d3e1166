// cmd.exe: double quotes (a path holds no double quote on Windows), the exit code of system().
#include <cstdlib>

#include "builder/writing/ShellCommand.h"

namespace vesk {

std::string ShellQuote(const std::string& path) {
    return "\"" + path + "\"";
}

bool RunShellCommand(const std::string& command, std::string& why) {
    const int code = std::system(command.c_str());
    if (code == -1) {
        why = "the command processor cannot be started";
        return false;
    }
    if (code != 0) {
        why = "the command exited with " + std::to_string(code);
        return false;
    }
    return true;
}

}  // namespace vesk
