// The file-system operations the final clean-up needs: delete a file (at once, or when the system
// next starts), put a kept file back under its name, make and remove folders, change the current
// folder, and pause.
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
    // Creates one folder whose parent exists; false when it exists already or cannot be made.
    virtual bool CreateFolder(const std::string& path) = 0;
    // Clears the file's read-only attribute, so it can be deleted or replaced; false when the
    // file is missing or the attribute cannot be changed.
    virtual bool ClearReadOnly(const std::string& path) = 0;
    // Asks the system to delete the file, or the folder if it is empty then, when it next
    // starts: for a file in use now. False when the system refuses (a limited account).
    virtual bool RemoveAtRestart(const std::string& path) = 0;
    // Asks the system to put the file `from` in the place of `to` when it next starts, replacing
    // what is there: for a file in use now. False when the system refuses.
    virtual bool ReplaceAtRestart(const std::string& from, const std::string& to) = 0;
};

// The running system's file system.
FileRemoval& HostFileRemoval();

}  // namespace vesk
