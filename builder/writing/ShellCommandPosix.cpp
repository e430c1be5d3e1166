// The POSIX shell: single quotes, and the wait status of system().
#include <sys/wait.h>

#include <cstdlib>

#include "builder/writing/ShellCommand.h"

namespace vesk {

std::string ShellQuote(const std::string& path) {
    std::string quoted = "'";
    for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool RunShellCommand(const std::string& command, std::string& why) {
    const int status = std::system(command.c_str());
    if (status == -1) {
        why = "the shell cannot be started";
    } else if (WIFSIGNALED(status)) {
        why = "the command was ended by signal " + std::to_string(WTERMSIG(status));
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) == 127) {
        why = "the command cannot be run";
    } else if (WEXITSTATUS(status) != 0) {
        why = "the command exited with " + std::to_string(WEXITSTATUS(status));
    } else {
        return true;
    }
    return false;
}

}  // namespace vesk
