// Snapshots of the test machine's registry and drive C.
#include "MachineSnapshot.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/TempDir.h"

namespace vesk::test {
namespace {

namespace fs = std::filesystem;

std::string Upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The privilege RegSaveKey asks for, taken once.
void TakeBackupPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, "SeBackupPrivilege", &privileges.Privileges[0].Luid)) {
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
}

// The hive of `root` by key, as Wine writes it: "[key] <time>" lines with the time taken out,
// "#time=" lines left out, every other line kept with its key.
void ReadHive(HKEY root, const std::string& prefix, std::map<std::string, std::string>& keys) {
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(sizeof folder, folder);
    const std::string file = std::string(folder) + "vesk-hive-" + prefix + ".reg";
    DeleteFileA(file.c_str());
    TakeBackupPrivilege();
    if (RegSaveKeyA(root, file.c_str(), nullptr) != ERROR_SUCCESS) return;
    std::istringstream text(ReadWholeFile(file));
    DeleteFileA(file.c_str());
    std::string key;
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.rfind("#time=", 0) == 0 || line.rfind(";;", 0) == 0) continue;
        if (line[0] == '[') {
            const std::size_t close = line.rfind(']');
            // The file doubles every backslash of a key's name.
            std::string name;
            const std::string quoted = line.substr(1, close == std::string::npos ? 0 : close - 1);
            for (std::size_t i = 0; i < quoted.size(); ++i) {
                name += quoted[i];
                if (quoted[i] == '\\' && i + 1 < quoted.size() && quoted[i + 1] == '\\') ++i;
            }
            key = prefix + "\\" + Upper(name);
            keys[key];
            continue;
        }
        if (!key.empty()) keys[key] += line + "\n";
    }
}

// Every file and folder below `folder` (upper case, no trailing backslash) into `files`, through
// the find calls, which hand out size and time with each name; none below a folder of `skipped`.
void Walk(const std::string& folder, const std::vector<std::string>& skipped,
          std::map<std::string, std::string>& files) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileExA((folder + "\\*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + Upper(name);
        if (std::find(skipped.begin(), skipped.end(), path) != skipped.end()) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            files[path] = "folder";
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                Walk(path, skipped, files);
            continue;
        }
        const unsigned long long size =
            (unsigned long long)found.nFileSizeHigh << 32 | found.nFileSizeLow;
        const unsigned long long time = (unsigned long long)found.ftLastWriteTime.dwHighDateTime
                                            << 32 |
                                        found.ftLastWriteTime.dwLowDateTime;
        files[path] = std::to_string(size) + " " + std::to_string(time);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

template <typename Map>
void Compare(const Map& before, const Map& after, std::vector<std::string>& lines) {
    for (const auto& item : before) {
        const auto later = after.find(item.first);
        if (later == after.end()) {
            lines.push_back("- " + item.first);
        } else if (later->second != item.second) {
            lines.push_back("~ " + item.first + ": " + item.second + " -> " + later->second);
        }
    }
    for (const auto& item : after) {
        if (before.count(item.first) == 0) lines.push_back("+ " + item.first);
    }
}

}  // namespace

MachineSnapshot MachineSnapshot::Take(const std::vector<std::string>& passedOver) {
    MachineSnapshot snapshot;
    ReadHive(HKEY_LOCAL_MACHINE, "HKLM", snapshot.keys);
    ReadHive(HKEY_CURRENT_USER, "HKCU", snapshot.keys);
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    // The temporary folder is this program's own (the setups it starts use it too); the shared
    // one above it holds the scratch folders of the test programs running beside this one.
    const fs::path own = fs::path(temp).lexically_normal().parent_path();
    std::vector<std::string> skipped = {Upper(own.string())};
    if (Upper(own.filename().string()).rfind("VESK-TESTS-", 0) == 0) {
        skipped.push_back(Upper(own.parent_path().string()));
    }
    for (const std::string& folder : passedOver) {
        skipped.push_back(Upper(fs::path(folder).lexically_normal().string()));
    }
    for (std::string& folder : skipped) {
        while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    }
    Walk("C:", skipped, snapshot.files);
    return snapshot;
}

std::vector<std::string> MachineSnapshot::DifferencesTo(const MachineSnapshot& later) const {
    std::vector<std::string> lines;
    Compare(keys, later.keys, lines);
    Compare(files, later.files, lines);
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace vesk::test
