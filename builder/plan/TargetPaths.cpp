// Source and target path helpers.
#include "builder/plan/TargetPaths.h"

#include <filesystem>

#include "project/NameCase.h"
#include "project/WindowsNames.h"

namespace vesk {

namespace fs = std::filesystem;

std::string HostPathFor(const std::string& baseDir, const std::string& value) {
    std::string portable = value;
    for (char& c : portable) {
        if (c == '\\') c = '/';
    }
    fs::path path(portable);
    if (path.is_absolute() || baseDir.empty()) return path.lexically_normal().string();
    return (fs::path(baseDir) / path).lexically_normal().string();
}

bool CheckTargetName(const std::string& name, std::string& why) {
    for (char c : name) {
        if (c == '<') {
            why = "'<' cannot be written in the project file (it ends a value)";
            return false;
        }
        if (c == '\r' || c == '\n') {
            why = "a line break cannot be written in the project file";
            return false;
        }
    }
    return CheckWindowsName(name, why);
}

std::string JoinTarget(const std::string& folder, const std::string& relative) {
    if (relative.empty()) return folder;
    if (folder.empty()) return relative;
    return folder.back() == '\\' ? folder + relative : folder + "\\" + relative;
}

std::string TargetKey(const std::string& target) {
    return UpperName(target);
}

}  // namespace vesk
