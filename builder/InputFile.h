// Reading a file of the build machine in blocks, safely: only regular files, never past the size
// they had when opened.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vesk {

// A device (/dev/zero), a FIFO or a folder is refused before it is opened, so a read neither
// blocks nor runs without end; a file that grows while it is read gives only its first Size()
// bytes. The handle is closed by the destructor.
class InputFile {
public:
    InputFile() = default;
    ~InputFile() { Close(); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // False (see LastError: "<path>: ...") when the path is missing, not a regular file or cannot
    // be opened.
    bool Open(const std::string& path);
    void Close();

    // The size when opened.
    std::uint64_t Size() const { return size_; }
    // Reads up to `capacity` bytes into `buffer`; `got` is 0 at the end. False on a read error.
    bool Read(void* buffer, std::size_t capacity, std::size_t& got);
    const std::string& LastError() const { return error_; }

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    std::uint64_t size_ = 0;
    std::uint64_t done_ = 0;
    std::string error_;
};

// Why `path` cannot be read as a regular file ("does not exist", "is a folder", "is not a regular
// file (a device or a pipe)"), or "" when it can.
std::string RegularFileProblem(const std::string& path);

}  // namespace vesk
