// Source and target path helpers.
#include "TargetPaths.h"

#include <filesystem>

#include "project/NameCase.h"

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
    if (name.empty()) {
        why = "an empty name";
        return false;
    }
    for (unsigned char c : name) {
        if (c == '<') {
            why = "'<' cannot be written in the project file (it ends a value)";
            return false;
        }
        if (c == '\r' || c == '\n') {
            why = "a line break cannot be written in the project file";
            return false;
        }
        if (c < 0x20) {
            why = "a control character is not allowed in a Windows file name";
            return false;
        }
        if (std::string("\\/:*?\"|>").find(char(c)) != std::string::npos) {
            why = std::string("'") + char(c) + "' is not allowed in a Windows file name";
            return false;
        }
    }
    if (name.back() == '.' || name.back() == ' ') {
        why = "Windows drops a trailing dot or space from a file name";
        return false;
    }
    std::string stem = UpperName(name.substr(0, name.find('.')));
    static const char* const kDevices[] = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    for (const char* device : kDevices) {
        if (stem == device) {
            why = "\"" + std::string(device) + "\" names a device on Windows";
            return false;
        }
    }
    return true;
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
