// Listing a folder of the file system for the folder pages: its entries, and whether it holds a
// subfolder.
#pragma once

#include <string>
#include <vector>

namespace vesk {

struct FolderEntry {
    std::string name;
    bool isFolder = false;
    bool hidden = false;
};

// The entries of `folder` ("C:\" or "C:\Program Files"; a separator is added when it has none),
// "." and ".." left out, in the order the system gives them. Empty when it cannot be listed.
std::vector<FolderEntry> ListFolder(const std::string& folder);

// Whether `folder` holds a folder other than "." and "..", or, with `countFiles`, a file that is
// not hidden. Stops at the first one found.
bool HoldsSubfolder(const std::string& folder, bool countFiles);

}  // namespace vesk
