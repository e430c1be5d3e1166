// Terminal test on Windows (a console, not a pipe or file).
#include <io.h>

#include "builder/veskbuild/Terminal.h"

namespace vesk::tool {

bool IsTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

}  // namespace vesk::tool
