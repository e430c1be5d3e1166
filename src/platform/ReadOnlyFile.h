// A file opened for reading that nobody can change while it is open: what was checked in it is
// what is read from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesk {

// On Windows the file is opened sharing reading only: while the object holds it, no one can
// open it for writing, rename it or delete it (an opener that writes already makes the open
// fail). POSIX systems have no such sharing: there it is an ordinary read-only open of a
// regular file (a FIFO or a device is refused without blocking), whose length is taken once.
class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    ~ReadOnlyFile() { Close(); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Closes what is open, then opens `path`. False when it is missing, is no regular file, or
    // cannot be opened (on Windows also: someone has it open for writing).
    bool Open(const std::string& path);
    void Close();

    bool IsOpen() const { return handle_ != kClosed; }
    // The length when opened.
    std::int64_t Length() const { return length_; }
    bool Seek(std::int64_t offset);
    // Reads up to `size` bytes; `got` is 0 at the end. False on a read error.
    bool Read(void* buffer, std::size_t size, std::size_t& got);

private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t handle_ = kClosed;  // a HANDLE on Windows, a descriptor elsewhere
    std::int64_t length_ = 0;
};

}  // namespace vesk
