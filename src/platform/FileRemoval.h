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

    // Keeps links out of the folder at `folder` (an install folder, which ordinary users may be
    // able to write): from now on, for the rest of the process, a path below it is used only
    // through folders that are folders of their own (no link, no junction) whose final paths
    // lie below the folder's, each held so it can be neither renamed nor swapped for a link,
    // and a file or folder there is created, renamed, kept, replaced or deleted only when its
    // name holds no link. What breaks the rule fails and is left as it is. The folder itself is
    // taken as it is found. False when it cannot be held. A file system without links (the
    // doubles) guards nothing.
    virtual bool GuardFolder(const std::string& folder) {
        (void)folder;
        return true;
    }
    // Lets go of every guarded folder (for tests that remove them afterwards).
    virtual void ReleaseFolders() {}
};

// The running system's file system.
FileRemoval& HostFileRemoval();

}  // namespace vesk
