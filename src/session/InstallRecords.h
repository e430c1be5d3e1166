// What a run leaves on disk and must take away again: the temporary files, and what the install
// wrote for a rollback.
#pragma once

#include <string>
#include <vector>

#include "platform/Lock.h"

namespace vesk {

// A user's file that the install was about to overwrite, and the copy that keeps it.
struct KeptFile {
    std::string original;
    std::string copy;  // "" once the file is back under its own name
};

// The worker appends while the user-interface thread may read, so every access takes the lock;
// readers get copies.
class InstallRecords {
public:
    // Removed by the final clean-up whatever happens.
    void AddTempFile(const std::string& path);
    // Removed by the clean-up of an install that did not complete.
    void AddInstalledFile(const std::string& path);
    // A folder the install made (it did not exist before), in the order made.
    void AddCreatedFolder(const std::string& path);
    // Put back by the clean-up of an install that did not complete; the copy is removed after
    // one that did.
    void AddKeptFile(const std::string& original, const std::string& copy);
    // The kept file is back under its own name (the install deleted its own file there): the
    // clean-up leaves that name alone.
    void MarkPutBack(const std::string& original);

    // The records so far, emptying them: a later clean-up finds nothing left to do.
    std::vector<std::string> TakeTempFiles();
    std::vector<std::string> TakeInstalledFiles();
    std::vector<std::string> TakeCreatedFolders();
    std::vector<KeptFile> TakeKeptFiles();

    std::vector<std::string> TempFiles() const;
    std::vector<std::string> InstalledFiles() const;
    std::vector<std::string> CreatedFolders() const;
    std::vector<KeptFile> KeptFiles() const;

private:
    mutable Lock lock_;
    std::vector<std::string> tempFiles_;
    std::vector<std::string> installedFiles_;
    std::vector<std::string> createdFolders_;
    std::vector<KeptFile> keptFiles_;
};

}  // namespace vesk
