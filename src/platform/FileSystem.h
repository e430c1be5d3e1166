// What the install does to the file system besides extracting files: folders, existence checks,
// copies kept for a rollback, whole small files, and what the clean-up needs.
#pragma once

#include <string>

#include "platform/FileRemoval.h"

namespace vesk {

class FileSystem : public FileRemoval {
public:
    // Creates one folder whose parent exists; false when it exists already or cannot be made.
    virtual bool CreateFolder(const std::string& path) = 0;
    virtual bool FolderExists(const std::string& path) const = 0;
    // True for a file only, never for a folder.
    virtual bool FileExists(const std::string& path) const = 0;
    // Copies a file with its times; never replaces an existing `to`.
    virtual bool DuplicateFile(const std::string& from, const std::string& to) = 0;
    // Creates or truncates the file and writes `bytes`; false unless every byte reached it.
    virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
    // Asks the system to delete the file, or the folder if it is empty then, when it next
    // starts: for a file in use now. False when the system refuses (a limited account).
    virtual bool RemoveAtRestart(const std::string& path) = 0;
};

// The running system's file system (the same object as HostFileRemoval()).
FileSystem& HostFileSystem();

}  // namespace vesk
