// The file-system operations the final clean-up needs: delete a file, put a kept file back under
// its name, remove an empty folder, change the current folder, and pause.
#pragma once

#include <string>

namespace vesk {

class FileRemoval {
public:
    virtual ~FileRemoval() = default;

    // False when the file is missing or cannot be deleted.
    virtual bool RemoveFile(const std::string& path) = 0;
    // Gives the file `from` the name `to` (within one volume); never replaces an existing `to`,
    // so a failure leaves both files as they were.
    virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
    // Removes an empty folder; a folder that still holds something stays and gives false.
    virtual bool RemoveFolder(const std::string& path) = 0;
    virtual bool SetCurrentFolder(const std::string& path) = 0;
    virtual void Pause(int milliseconds) = 0;
};

// The running system's file system.
FileRemoval& HostFileRemoval();

}  // namespace vesk
