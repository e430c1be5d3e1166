// Destination commit rules.
#include "wizard/DestinationCommit.h"

#include "project/PathParts.h"
#include "project/WindowsNames.h"

namespace vesk {
namespace {

constexpr std::size_t kDriveRootLength = 3;  // "C:\"
constexpr std::size_t kShortestTrimmed = 5;  // "C:\a\" is the shortest text that loses its "\"

}  // namespace

std::optional<std::string> CommitPathOf(const std::string& text) {
    if (text.size() < kDriveRootLength) return std::nullopt;
    std::string path = text;
    // A double-byte character may end in the byte of '\': only a separator of its own counts.
    if (path.size() >= kShortestTrimmed && LastBackslash(path) == path.size() - 1) path.pop_back();
    if (!HasDriveRoot(path)) return std::nullopt;
    std::string why;
    if (!CheckWindowsFolderNames(path.substr(kDriveRootLength), why)) return std::nullopt;
    return path;
}

std::vector<std::string> FolderChainOf(const std::string& path) {
    std::vector<std::string> chain;
    if (path.size() <= kDriveRootLength) return chain;
    std::string folder = path.substr(0, kDriveRootLength);
    for (const std::string& part : PathComponents(path.substr(kDriveRootLength))) {
        if (folder.size() > kDriveRootLength) folder += '\\';
        folder += part;
        chain.push_back(folder);
    }
    return chain;
}

}  // namespace vesk
