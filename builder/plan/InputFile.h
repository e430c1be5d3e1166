// Reading a file of the build machine in blocks, safely: only regular files, never past the size
// they had when opened, and (for the product's files) only the very file that was scanned.
#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// What tells one file from another and one state of it from the next: a file read later is the
// one scanned when every field is the same.
struct FileIdentity {
    std::uint64_t device = 0;    // the volume (st_dev; the volume serial number)
    std::uint64_t index = 0;     // the file on it (st_ino; the file index)
    std::uint64_t size = 0;      // bytes
    std::int64_t writeTime = 0;  // the last write, in the system's own units
    bool operator==(const FileIdentity& other) const {
        return device == other.device && index == other.index && size == other.size &&
               writeTime == other.writeTime;
    }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

// The identity of the regular file `path` names, a link at its end not followed. False with the
// reason ("is a symbolic link", "does not exist", ...) otherwise.
bool ReadFileIdentity(const std::string& path, FileIdentity& identity, std::string& why);

// A device (/dev/zero), a FIFO or a folder is refused before it is read, so a read neither
// blocks nor runs without end; a file that grows while it is read gives only its first Size()
// bytes. The handle is closed by the destructor. Others may go on reading and writing the file.
class InputFile {
public:
    InputFile() = default;
    ~InputFile() { Close(); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // False (see LastError: "<path>: ...") when the path is missing, not a regular file or cannot
    // be opened. With `expected`, a link at the end of the path is refused, not followed, and the
    // file opened must be the one of that identity (what a scan found): a file swapped for another
    // (or for a link to one) since, or changed in size or time, is refused.
    bool Open(const std::string& path, const FileIdentity* expected = nullptr);
    void Close();

    // The size when opened.
    std::uint64_t Size() const { return size_; }
    // Reads up to `capacity` bytes into `buffer`; `got` is 0 at the end. False on a read error.
    bool Read(void* buffer, std::size_t capacity, std::size_t& got);
    const std::string& LastError() const { return error_; }

private:
    // The platform's part: opens path_ (without following a link at its end when `noLink`),
    // refusing what is no regular file; fills identity_. False with error_ set.
    bool OpenHandle(bool noLink);
    bool ReadHandle(void* buffer, std::size_t size, std::size_t& got);
    void CloseHandle();

    std::intptr_t handle_ = -1;  // a HANDLE on Windows, a descriptor elsewhere
    std::string path_;
    FileIdentity identity_;
    std::uint64_t size_ = 0;
    std::uint64_t done_ = 0;
    std::string error_;
};

// Why `path` cannot be read as a regular file ("does not exist", "is a folder", "is not a regular
// file (a device or a pipe)"), or "" when it can.
std::string RegularFileProblem(const std::string& path);

}  // namespace vesk
