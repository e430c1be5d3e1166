// Error reporting and whole-file I/O shared by the commands.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Commands.h"
#include "FileBytes.h"

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
    return ReadFileContent(path, bytes, error);
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
