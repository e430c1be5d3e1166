// Terminal test on POSIX systems.
#include <unistd.h>

#include "builder/veskbuild/Terminal.h"

namespace vesk::tool {

bool IsTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

}  // namespace vesk::tool
