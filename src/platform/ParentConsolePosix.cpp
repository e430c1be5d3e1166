// The native build's parent console is its standard output.
#include <cstdio>

#include "platform/ParentConsole.h"

namespace vesk {

bool WriteToParentConsole(const std::string& text) {
    return std::fprintf(stdout, "%s\n", text.c_str()) >= 0;
}

}  // namespace vesk
