// Bounded block reads of regular files.
#include "builder/plan/InputFile.h"

#include <algorithm>
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

bool InputFile::Open(const std::string& path, const FileIdentity* expected) {
    Close();
    path_ = path;
    done_ = size_ = 0;
    error_.clear();
    if (!expected) {
        const std::string problem = RegularFileProblem(path);
        if (!problem.empty()) {
            error_ = path + ": " + problem;
            return false;
        }
    }
    if (!OpenHandle(expected != nullptr)) return false;
    if (expected && identity_ != *expected) {
        Close();
        error_ = path + ": " +
                 (identity_.device != expected->device || identity_.index != expected->index
                      ? "is another file than the one scanned (replaced while the setup was built)"
                      : "changed while the setup was built");
        return false;
    }
    size_ = identity_.size;
    return true;
}

void InputFile::Close() {
    if (handle_ != -1) CloseHandle();
    handle_ = -1;
}

bool InputFile::Read(void* buffer, std::size_t capacity, std::size_t& got) {
    got = 0;
    if (handle_ == -1) {
        error_ = path_ + ": not open";
        return false;
    }
    const std::size_t want = std::size_t(std::min<std::uint64_t>(capacity, size_ - done_));
    if (want == 0) return true;
    if (!ReadHandle(buffer, want, got)) {
        error_ = path_ + ": read error";
        return false;
    }
    done_ += got;
    return true;
}

}  // namespace vesk
