// Folder chains below a drive root.
#include "install/FolderChain.h"

#include "project/PathParts.h"

namespace vesk {

std::vector<std::string> CreateFolderChain(FileSystem& files, const std::string& path) {
    constexpr std::size_t kDriveRootLength = 3;
    std::vector<std::string> made;
    if (path.size() <= kDriveRootLength) return made;
    std::string level = path.substr(0, kDriveRootLength);
    bool first = true;
    for (const std::string& part : PathComponents(path.substr(kDriveRootLength))) {
        if (!first) level += '\\';
        level += part;
        first = false;
        if (!files.FolderExists(level) && files.CreateFolder(level)) made.push_back(level);
    }
    return made;
}

}  // namespace vesk
