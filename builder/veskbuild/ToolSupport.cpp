// Error reporting and whole-file I/O shared by the commands.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Commands.h"

namespace vesk::tool {

int Failure(const std::string& message) {
    std::fprintf(stderr, "veskbuild: %s\n", message.c_str());
    return 1;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "veskbuild: %s (see veskbuild --help)\n", message.c_str());
    return 2;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    bytes.clear();
    char block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    if (!ok) error = path + ": read error";
    return ok;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) error = path + ": write error";
    return ok;
}

}  // namespace vesk::tool
