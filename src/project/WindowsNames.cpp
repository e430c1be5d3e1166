// Windows file-name rules.
#include "project/WindowsNames.h"

#include "platform/CodePage.h"
#include "project/NameCase.h"
#include "project/PathParts.h"

namespace vesk {
namespace {

constexpr char kForbidden[] = "\\/:*?\"<>|";

// `stem` is the name up to its first dot, upper-cased; Windows drops the blanks at its end
// before it compares it with the device names ("CON .txt" is the console).
bool IsDeviceName(std::string stem) {
    static const char* const kDevices[] = {
        "CON",  "PRN",  "AUX",  "NUL",  "CONIN$", "CONOUT$", "COM0", "COM1", "COM2",
        "COM3", "COM4", "COM5", "COM6", "COM7",   "COM8",    "COM9", "LPT0", "LPT1",
        "LPT2", "LPT3", "LPT4", "LPT5", "LPT6",   "LPT7",    "LPT8", "LPT9"};
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (const char* device : kDevices) {
        if (stem == device) return true;
    }
    return false;
}

}  // namespace

bool CheckNameCharacters(const std::string& name, std::string& why) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsSystemLeadByte(c) && i + 1 < name.size()) {
            ++i;  // the trail byte belongs to the character
            continue;
        }
        if (c < 0x20) {
            why = "a control character is not allowed in a Windows file name";
            return false;
        }
        for (const char* f = kForbidden; *f; ++f) {
            if (char(c) == *f) {
                why = std::string("'") + *f + "' is not allowed in a Windows file name";
                return false;
            }
        }
    }
    return true;
}

bool CheckWindowsName(const std::string& name, std::string& why) {
    if (name.empty()) {
        why = "an empty name";
        return false;
    }
    if (!CheckNameCharacters(name, why)) return false;
    if (name.back() == '.' || name.back() == ' ') {
        why = "Windows drops a trailing dot or space from a file name";
        return false;
    }
    const std::string stem = UpperName(name.substr(0, name.find('.')));
    if (IsDeviceName(stem)) {
        why = "\"" + stem + "\" names a device on Windows";
        return false;
    }
    return true;
}

bool CheckWindowsFolderNames(const std::string& folders, std::string& why) {
    for (const std::string& part : PathComponents(folders)) {
        if (!CheckWindowsName(part, why)) {
            why = "\"" + part + "\": " + why;
            return false;
        }
    }
    return true;
}

bool HasDriveRoot(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return false;
    const char letter = path[0];
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

}  // namespace vesk
