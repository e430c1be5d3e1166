// The files and folders below a folder of the host (a prefix's drive_c) at one moment, and what
// differs between two such moments. Links are recorded, never followed.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "builder/trial/MachineChanges.h"

namespace vesk::trial {

struct TreeEntry {
    EntryType type = EntryType::File;
    std::uint64_t size = 0;     // files only
    std::int64_t modified = 0;  // files only: the last write, in the file system's units
};

class FileTree {
public:
    // Everything below `root`; false with the folder and the reason when it cannot be read.
    bool Scan(const std::string& root, std::string& error);

    // Adds or replaces one entry by its path below the root ('/' between names): for tests.
    void Put(const std::string& relative, const TreeEntry& entry) { entries_[relative] = entry; }
    const std::map<std::string, TreeEntry>& Entries() const { return entries_; }

private:
    std::map<std::string, TreeEntry> entries_;
};

// Entries added and removed, files whose size or last write changed, and entries whose type
// changed (removed and added); a folder whose content alone changed is no change. Paths are
// named as Windows names them with `drive` in front ("C:").
std::vector<FileChange> CompareTrees(const FileTree& before, const FileTree& after,
                                     const std::string& drive);

// "Program Files/a.txt" below drive "C:" -> "C:\Program Files\a.txt".
std::string WindowsPath(const std::string& drive, const std::string& relative);

}  // namespace vesk::trial
