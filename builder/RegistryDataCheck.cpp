// The line rules of registry data files.
#include "RegistryDataCheck.h"

#include "install/RegistryDataFile.h"

namespace vesk {
namespace {

bool IsKeyLine(const std::string& line) {
    static const char* const kRoots[] = {"[HKEY_CLASSES_ROOT", "[HKEY_CURRENT_USER",
                                         "[HKEY_LOCAL_MACHINE", "[HKEY_USERS",
                                         "[HKEY_CURRENT_CONFIG"};
    if (line.back() != ']') return false;
    for (const char* root : kRoots) {
        std::string prefix = root;
        if (line.compare(0, prefix.size(), prefix) != 0) continue;
        char next = line[prefix.size()];
        if (next == ']' || next == '\\') return true;
    }
    return false;
}

bool IsValueLine(const std::string& line) {
    if (line.size() < 5 || line[0] != '"' || line.back() != '"') return false;
    std::size_t close = line.find('"', 1);
    return close + 3 < line.size() && line[close + 1] == '=' && line[close + 2] == '"';
}

}  // namespace

bool CheckRegistryDataFile(const std::string& bytes, std::string& error) {
    std::size_t start = 0, number = 0;
    bool keySeen = false;
    while (start < bytes.size()) {
        ++number;
        std::size_t end = bytes.find("\r\n", start);
        std::size_t lf = bytes.find('\n', start);
        if (lf != std::string::npos && (end == std::string::npos || lf < end)) {
            error = "line " + std::to_string(number) + " ends with LF alone; use CR LF";
            return false;
        }
        if (end == std::string::npos) {
            error = "line " + std::to_string(number) +
                    " has no CR LF at its end; the install skips such a last line";
            return false;
        }
        std::string line = bytes.substr(start, end - start);
        start = end + 2;
        if (line.size() > kLongestRegistryDataLine) {
            error = "line " + std::to_string(number) + " is longer than " +
                    std::to_string(kLongestRegistryDataLine) + " bytes";
            return false;
        }
        if (line.empty()) continue;
        if (line[0] == '[') {
            if (!IsKeyLine(line)) {
                error = "line " + std::to_string(number) +
                        " is no key line: expected [HKEY_LOCAL_MACHINE\\path] or another root";
                return false;
            }
            keySeen = true;
        } else if (!IsValueLine(line)) {
            error = "line " + std::to_string(number) +
                    " is neither a [key] nor a \"name\"=\"data\" line (a registry editor "
                    "header is not read either)";
            return false;
        } else if (!keySeen) {
            error = "line " + std::to_string(number) + " sets a value before any [key] line";
            return false;
        }
    }
    return true;
}

}  // namespace vesk
