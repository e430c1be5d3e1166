// Bounded block reads of regular files.
#include "InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vesk {

namespace fs = std::filesystem;

std::string RegularFileProblem(const std::string& path) {
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return "does not exist";
    if (fs::is_directory(status)) return "is a folder";
    if (!fs::is_regular_file(status)) return "is not a regular file (a device or a pipe)";
    return "";
}

bool InputFile::Open(const std::string& path) {
    Close();
    path_ = path;
    done_ = size_ = 0;
    error_.clear();
    std::string problem = RegularFileProblem(path);
    if (!problem.empty()) {
        error_ = path + ": " + problem;
        return false;
    }
    std::error_code ec;
    size_ = fs::file_size(path, ec);
    if (ec) {
        error_ = path + ": " + ec.message();
        return false;
    }
    errno = 0;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        error_ =
            path + ": cannot be opened" + (errno ? std::string(": ") + std::strerror(errno) : "");
        return false;
    }
    return true;
}

void InputFile::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool InputFile::Read(void* buffer, std::size_t capacity, std::size_t& got) {
    got = 0;
    if (!file_) {
        error_ = path_ + ": not open";
        return false;
    }
    std::size_t want = std::size_t(std::min<std::uint64_t>(capacity, size_ - done_));
    if (want == 0) return true;
    got = std::fread(buffer, 1, want, file_);
    done_ += got;
    if (got < want && std::ferror(file_)) {
        error_ = path_ + ": read error";
        return false;
    }
    return true;
}

}  // namespace vesk
