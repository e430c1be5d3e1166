// Destination commit rules.
#include "wizard/DestinationCommit.h"

#include "install/FolderChain.h"
#include "project/PathParts.h"
#include "project/WindowsNames.h"

namespace vesk {
namespace {

constexpr std::size_t kDriveRootLength = 3;  // "C:\"
constexpr std::size_t kShortestTrimmed = 5;  // "C:\a\" is the shortest text that loses its "\"
constexpr char kNeutralFolder[] = "C:\\";    // current while folders are removed, as at the end

}  // namespace

std::optional<std::string> CommitPathOf(const std::string& text) {
    if (text.size() < kDriveRootLength) return std::nullopt;
    // No code page has a control byte in a character, not even as the second byte of two.
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
    }
    std::string path = text;
    // A double-byte character may end in the byte of '\': only a separator of its own counts.
    if (path.size() >= kShortestTrimmed && LastBackslash(path) == path.size() - 1) path.pop_back();
    if (!HasDriveRoot(path)) return std::nullopt;
    std::string why;
    if (!CheckWindowsFolderNames(path.substr(kDriveRootLength), why)) return std::nullopt;
    return path;
}

DestinationCommit CommitDestination(const std::string& text, FileSystem& files) {
    DestinationCommit commit;
    const std::optional<std::string> path = CommitPathOf(text);
    if (!path) {
        commit.refusal = DestinationRefusal::NoFolderName;
        commit.path = text;
        return commit;
    }
    commit.path = *path;
    commit.made = CreateFolderChain(files, *path);
    if (!files.FolderExists(*path) || !files.SetCurrentFolder(*path)) {
        // Nothing of the attempt stays.
        WithdrawFolders(files, commit.made);
        commit.made.clear();
        commit.refusal = DestinationRefusal::CannotCreate;
    }
    return commit;
}

void WithdrawFolders(FileSystem& files, const std::vector<std::string>& made) {
    if (made.empty()) return;
    files.SetCurrentFolder(kNeutralFolder);
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder) files.RemoveFolder(*folder);
}

}  // namespace vesk
