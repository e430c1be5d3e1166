// Ordering and guarding the folders of an uninstall.
#include "uninstaller/RemovableFolders.h"

#include <algorithm>
#include <set>

#include "project/NameCase.h"
#include "project/PathParts.h"

namespace vesk {
namespace {

// A drive root keeps its backslash ("C:\"); any other folder loses its trailing ones.
std::string Trimmed(std::string folder) {
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

bool IsDriveRoot(const std::string& folder) {
    return folder.size() <= 3;
}

}  // namespace

RemovableFolders::RemovableFolders(const std::vector<std::string>& guarded,
                                   const std::string& windowsFolder)
    : windowsFolder_(Trimmed(windowsFolder)) {
    for (const std::string& folder : guarded) {
        if (!folder.empty()) guarded_.push_back(Trimmed(folder));
    }
}

bool RemovableFolders::Below(const std::string& inner, const std::string& outer) {
    return LiesBelow(inner, outer);
}

void RemovableFolders::Add(const std::string& folder) {
    if (!folder.empty()) folders_.push_back(Trimmed(folder));
}

void RemovableFolders::AddChainBelow(const std::string& top, const std::string& folder) {
    for (std::string at = Trimmed(folder); Below(at, top); at = FolderOf(at)) Add(at);
}

bool RemovableFolders::Guarded(const std::string& folder) const {
    if (IsDriveRoot(folder)) return true;
    if (!windowsFolder_.empty() &&
        (SameName(folder, windowsFolder_) || Below(folder, windowsFolder_))) {
        return true;
    }
    for (const std::string& guarded : guarded_) {
        if (SameName(folder, guarded) || Below(guarded, folder)) return true;
    }
    return false;
}

std::vector<std::string> RemovableFolders::InRemovalOrder() const {
    std::vector<std::string> order;
    std::set<std::string> seen;
    for (const std::string& folder : folders_) {
        if (!Guarded(folder) && seen.insert(UpperName(folder)).second) order.push_back(folder);
    }
    std::stable_sort(order.begin(), order.end(), [](const std::string& a, const std::string& b) {
        const std::size_t depthA = PathComponents(a).size(), depthB = PathComponents(b).size();
        if (depthA != depthB) return depthA > depthB;
        return UpperName(a) < UpperName(b);
    });
    return order;
}

}  // namespace vesk
