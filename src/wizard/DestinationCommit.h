// The rules for the folder the destination page commits as the install folder, and the commit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace vesk {

// The folder to commit for the destination text `text`, or nullopt when the page must stay:
// a text of fewer than three characters ("C:"), one that does not start with a drive root
// ("C:\"), or one with a folder name Windows cannot hold (CheckWindowsName). Of a text longer
// than four characters one trailing backslash is removed: "C:\" commits "C:\", "C:\Data\"
// commits "C:\Data". Any length; whether the system can create it is found out by creating it.
std::optional<std::string> CommitPathOf(const std::string& text);

// Why a destination was refused.
enum class DestinationRefusal {
    None,
    NoFolderName,  // CommitPathOf refuses the text
    CannotCreate,  // the system cannot make the folder or enter it
};

struct DestinationCommit {
    DestinationRefusal refusal = DestinationRefusal::None;
    std::string path;               // the folder committed; when refused, the text or folder
    std::vector<std::string> made;  // the folders this commit made, top first
};

// Commits the destination text: the folder of CommitPathOf is made with every missing folder
// above it and becomes the current folder. A folder that cannot be made or entered is refused,
// and the folders the attempt made are removed again.
DestinationCommit CommitDestination(const std::string& text, FileSystem& files);

// Removes folders a commit made (top first, as `made` lists them) that nothing has been put into,
// deepest first; "C:\" becomes the current folder first, since the current folder cannot go.
void WithdrawFolders(FileSystem& files, const std::vector<std::string>& made);

}  // namespace vesk
