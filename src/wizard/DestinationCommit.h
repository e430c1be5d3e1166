// The rules for the folder the destination page commits as the install folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vesk {

// The folder to commit for the destination text `text`, or nullopt when the page must stay:
// a text of fewer than three characters ("C:"), one that does not start with a drive root
// ("C:\"), or one with a folder name Windows cannot hold (CheckWindowsName). Of a text longer
// than four characters one trailing backslash is removed: "C:\" commits "C:\", "C:\Data\"
// commits "C:\Data". Any length; whether the system can create it is found out by creating it.
std::optional<std::string> CommitPathOf(const std::string& text);

// The folders to create, from the top, so that `path` exists: for "C:\a\b" the folders
// "C:\a" and "C:\a\b". A drive root alone (three characters or fewer) needs none.
std::vector<std::string> FolderChainOf(const std::string& path);

}  // namespace vesk
