// Native paths are UTF-8 already.
#include "platform/FileOpen.h"

namespace vesk {

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

}  // namespace vesk
