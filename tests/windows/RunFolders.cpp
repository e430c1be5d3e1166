// Looking into the temporary folder for the engine's run folders.
#include "RunFolders.h"

#include <windows.h>

namespace vesk::test {
namespace {

constexpr char kRunFolderPattern[] = "~VeskInstall-*";

// The names in `folder` matching `pattern`, with their attributes.
std::vector<std::pair<std::string, DWORD>> Listing(const std::string& folder,
                                                   const std::string& pattern) {
    std::vector<std::pair<std::string, DWORD>> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.emplace_back(name, found.dwFileAttributes);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

}  // namespace

std::string TempFolder() {
    char folder[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) return {};
    std::string text(folder, length);
    if (text.size() > 3 && text.back() == '\\') text.pop_back();
    return text;
}

std::set<std::string> TempFolderEntries() {
    std::set<std::string> names;
    for (const auto& entry : Listing(TempFolder(), "*")) names.insert(entry.first);
    return names;
}

std::vector<std::string> RunFolders() {
    std::vector<std::string> folders;
    const std::string temp = TempFolder();
    for (const auto& entry : Listing(temp, kRunFolderPattern)) {
        if (entry.second & FILE_ATTRIBUTE_DIRECTORY) folders.push_back(temp + "\\" + entry.first);
    }
    return folders;
}

std::vector<std::string> RunFilesEndingIn(const std::string& suffix) {
    std::vector<std::string> files;
    for (const std::string& folder : RunFolders()) {
        for (const auto& entry : Listing(folder, "*" + suffix)) {
            if (!(entry.second & FILE_ATTRIBUTE_DIRECTORY))
                files.push_back(folder + "\\" + entry.first);
        }
    }
    return files;
}

}  // namespace vesk::test
