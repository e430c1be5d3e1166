// What the install does to the file system besides extracting files: folders, existence checks,
// copies kept for a rollback, whole small files, and what the clean-up needs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileRemoval.h"

namespace vesk {

// What tells a file's content apart cheaply: its length and its last write time (the system's
// 100-nanosecond ticks).
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
    bool operator==(const FileStamp& other) const {
        return size == other.size && writeTime == other.writeTime;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

class FileSystem : public FileRemoval {
public:
    virtual bool FolderExists(const std::string& path) const = 0;
    // True for a file only, never for a folder.
    virtual bool FileExists(const std::string& path) const = 0;
    // Copies a file with its times; never replaces an existing `to`.
    virtual bool DuplicateFile(const std::string& from, const std::string& to) = 0;
    // Creates or truncates the file and writes `bytes`; false unless every byte reached it.
    virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
    // The file's bytes; nullopt when it is no file or cannot be read whole.
    virtual std::optional<std::string> ReadWholeFile(const std::string& path) const = 0;
    // The file's length and last write time; nullopt when it is not a file or cannot be read.
    virtual std::optional<FileStamp> Stamp(const std::string& path) const = 0;
    // The names of the files (not folders) directly in `folder`; empty when there is none.
    virtual std::vector<std::string> FilesIn(const std::string& folder) const = 0;
};

// The running system's file system (the same object as HostFileRemoval()).
FileSystem& HostFileSystem();

}  // namespace vesk
