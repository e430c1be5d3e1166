// Whole-file reading in 64 KiB blocks.
#include "FileBytes.h"

#include <cstdio>

namespace vesk {

bool ReadFileContent(const std::string& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.clear();
    char block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

}  // namespace vesk
