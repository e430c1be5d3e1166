// Folder listings through FindFirstFile.
#include "wizard/FolderListingWin32.h"

#include <windows.h>

#include <functional>

#include "platform/LongPathWin32.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

// Calls `visit` for each entry other than "." and "..", until it returns false.
void VisitFolder(const std::string& folder, const std::function<bool(const FolderEntry&)>& visit) {
    std::string pattern = folder;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += "*.*";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(LongPath(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = Narrow(found.cFileName);
        if (name == "." || name == "..") continue;
        FolderEntry entry{name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                          (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0};
        if (!visit(entry)) break;
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    VisitFolder(folder, [&](const FolderEntry& entry) {
        entries.push_back(entry);
        return true;
    });
    return entries;
}

bool HoldsSubfolder(const std::string& folder, bool countFiles) {
    bool holds = false;
    VisitFolder(folder, [&](const FolderEntry& entry) {
        holds = entry.isFolder || (countFiles && !entry.hidden);
        return !holds;
    });
    return holds;
}

}  // namespace vesk
