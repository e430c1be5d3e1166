// The placeholder of command templates.
#include "builder/writing/ShellCommand.h"

namespace vesk {

std::string CommandForFile(const std::string& commandTemplate, const std::string& path) {
    static const std::string kPlaceholder = "{file}";
    const std::string quoted = ShellQuote(path);
    std::string command;
    std::size_t from = 0;
    for (std::size_t at; (at = commandTemplate.find(kPlaceholder, from)) != std::string::npos;
         from = at + kPlaceholder.size()) {
        command += commandTemplate.substr(from, at - from) + quoted;
    }
    return command + commandTemplate.substr(from);
}

}  // namespace vesk
