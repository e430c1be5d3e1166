// Multibyte-aware path splitters.
#include "project/PathParts.h"

#include "platform/CodePage.h"
#include "project/NameCase.h"

namespace vesk {

std::size_t FirstBackslash(const std::string& path, std::size_t from) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsSystemLeadByte(static_cast<unsigned char>(path[i]))) {
            ++i;  // the trail byte belongs to the character
        } else if (path[i] == '\\' && i >= from) {
            return i;
        }
    }
    return std::string::npos;
}

std::size_t LastBackslash(const std::string& path) {
    std::size_t last = std::string::npos;
    for (std::size_t at = FirstBackslash(path); at != std::string::npos;
         at = FirstBackslash(path, at + 1)) {
        last = at;
    }
    return last;
}

std::vector<std::string> PathComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t stop = FirstBackslash(path, start);
        std::size_t end = stop == std::string::npos ? path.size() : stop;
        if (end > start) parts.push_back(path.substr(start, end - start));
        if (stop == std::string::npos) break;
        start = stop + 1;
    }
    return parts;
}

std::string FolderOf(const std::string& path) {
    constexpr std::size_t kDriveRootLength = 3;  // "C:\"
    std::size_t slash = LastBackslash(path);
    if (slash == std::string::npos) return std::string();
    if (slash + 1 <= kDriveRootLength) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

std::string FolderWithSlashOf(const std::string& path) {
    std::size_t slash = LastBackslash(path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
    std::size_t slash = LastBackslash(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& path) {
    std::string name = FileNameOf(path);
    std::size_t dot = name.rfind('.');  // a dot is never a trail byte
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool LiesBelow(const std::string& inner, const std::string& outer) {
    std::string top = outer;
    while (top.size() > 3 && top.back() == '\\') top.pop_back();
    if (top.empty() || inner.size() <= top.size()) return false;
    if (UpperName(inner.substr(0, top.size())) != UpperName(top)) return false;
    // Below a drive root "C:\" the backslash is the root's.
    return top.back() == '\\' || inner[top.size()] == '\\';
}

}  // namespace vesk
