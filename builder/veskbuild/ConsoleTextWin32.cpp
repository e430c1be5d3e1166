// On Windows the project's ANSI texts go to the console as they are.
#include "builder/veskbuild/ConsoleText.h"

namespace vesk::tool {

std::string ForConsole(const std::string& ansiText) {
    return ansiText;
}

bool ConsoleSpeaksUtf8() {
    return false;
}

}  // namespace vesk::tool
