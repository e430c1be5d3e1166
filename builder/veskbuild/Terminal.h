// Whether an output stream is a terminal, where a progress bar may redraw its line.
#pragma once

#include <cstdio>

namespace vesk::tool {

bool IsTerminal(std::FILE* stream);

}  // namespace vesk::tool
