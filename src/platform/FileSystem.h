// What the install does to the file system besides extracting files: folders, existence checks,
// copies kept for a rollback, whole small files, and what the clean-up needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CalendarTime.h"
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

// A file FileSystem::CreateAnew made, written from its first byte. The file stays when the object
// goes; its handle is closed then at the latest.
class NewFile {
public:
    virtual ~NewFile() = default;
    // False when not every byte reached the file.
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
    // Takes `local` as local time and gives the file that moment as its creation, access and
    // write time; false when it cannot.
    virtual bool SetLocalTime(const CalendarTime& local) = 0;
    // False when a write failed or the file could not be closed cleanly.
    virtual bool Close() = 0;
};

class FileSystem : public FileRemoval {
public:
    virtual bool FolderExists(const std::string& path) const = 0;
    // True for a file only, never for a folder.
    virtual bool FileExists(const std::string& path) const = 0;
    // Copies a file with its times; never replaces an existing `to`.
    virtual bool DuplicateFile(const std::string& from, const std::string& to) = 0;
    // Makes the file at `path` anew and writes `bytes` (CreateAnew); false unless every byte
    // reached it.
    virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
    // Creates the file at `path` as a new file: a file already there is deleted first, through a
    // handle that was checked to be that file. A link there (dangling or not), a folder, or,
    // below a guarded folder (GuardFolder), a link on the way or a final path outside the folder
    // is refused and left as it is. nullptr then, with `why` saying what was in the way.
    virtual std::unique_ptr<NewFile> CreateAnew(const std::string& path, std::string& why) = 0;
    // Gives the folder at `path`, which the install made, an access list of its own, inherited by
    // everything in it: administrators and SYSTEM full control, users read and execute. Nothing
    // changes when the process does not run elevated (an install for the user alone) or when
    // no one but administrators and SYSTEM may write in the folder already (its parent is
    // admin-only). False when the list is needed and cannot be set.
    virtual bool ProtectFolder(const std::string& path) = 0;
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
