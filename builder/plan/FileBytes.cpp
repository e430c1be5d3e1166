// Whole-file reading through InputFile.
#include "builder/plan/FileBytes.h"

#include "builder/plan/InputFile.h"

namespace vesk {

bool ReadFileContent(const std::string& path, std::string& bytes, std::string& error,
                     std::uint64_t maxSize, const FileIdentity* identity) {
    bytes.clear();
    InputFile file;
    if (!file.Open(path, identity)) {
        error = file.LastError();
        return false;
    }
    if (file.Size() > maxSize) {
        error = path + ": " + std::to_string(file.Size()) + " bytes, more than the " +
                std::to_string(maxSize) + " this file may have";
        return false;
    }
    bytes.resize(std::size_t(file.Size()));
    std::size_t at = 0, got = 0;
    do {
        if (!file.Read(&bytes[at], bytes.size() - at, got)) {
            error = file.LastError();
            return false;
        }
        at += got;
    } while (got > 0 && at < bytes.size());
    bytes.resize(at);  // a file that shrank since it was opened
    return true;
}

}  // namespace vesk
