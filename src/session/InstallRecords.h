// What a run leaves on disk and must take away again: the temporary files, and what the install
// wrote for a rollback.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace vesk {

// The worker appends while the user-interface thread may read, so every access takes the lock;
// readers get copies.
class InstallRecords {
public:
    // Removed by the final clean-up whatever happens.
    void AddTempFile(const std::string& path);
    // Removed by the clean-up of an install that did not complete.
    void AddInstalledFile(const std::string& path);
    void AddCreatedFolder(const std::string& path);

    // The records so far, emptying them: a later clean-up finds nothing left to do.
    std::vector<std::string> TakeTempFiles();
    std::vector<std::string> TakeInstalledFiles();
    std::vector<std::string> TakeCreatedFolders();

    std::vector<std::string> TempFiles() const;
    std::vector<std::string> InstalledFiles() const;
    std::vector<std::string> CreatedFolders() const;

private:
    mutable std::mutex lock_;
    std::vector<std::string> tempFiles_;
    std::vector<std::string> installedFiles_;
    std::vector<std::string> createdFolders_;
};

}  // namespace vesk
