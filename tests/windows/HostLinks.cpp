// Links made and removed by the host's programs under Wine, by the system elsewhere.
#include "HostLinks.h"

#include <windows.h>

namespace vesk::test {
namespace {

using UnixNameCall = char*(CDECL*)(const WCHAR*);
using CreateLinkCall = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
constexpr DWORD kFolderLink = 1;  // SYMBOLIC_LINK_FLAG_DIRECTORY

UnixNameCall WineUnixName() {
    return reinterpret_cast<UnixNameCall>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
}

// Under Wine, the host's name of `path`.
std::string HostName(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    char* name = WineUnixName()(wide.c_str());
    std::string text = name ? name : "";
    if (name) HeapFree(GetProcessHeap(), 0, name);
    return text;
}

// Under Wine, starts a program of the host (which cannot be waited for) and waits until
// `done`() holds, five seconds at most.
template <typename Condition>
bool RunHostProgram(std::string command, Condition done) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int wait = 0; wait < 250 && !done(); ++wait) Sleep(20);
    return done();
}

bool Listed(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

}  // namespace

bool UnderWine() {
    return WineUnixName() != nullptr;
}

bool MakeLink(const std::string& target, const std::string& link, bool folder) {
    if (!WineUnixName()) {
        auto createLink = reinterpret_cast<CreateLinkCall>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
        return createLink &&
               createLink(link.c_str(), target.c_str(), folder ? kFolderLink : 0) != 0;
    }
    return RunHostProgram("Z:\\bin\\ln -s \"" + HostName(target) + "\" \"" + HostName(link) + "\"",
                          [&link] { return Listed(link); });
}

void RemoveLinksFolder(const std::string& folder) {
    if (!WineUnixName()) return;
    RunHostProgram("Z:\\bin\\rm -rf \"" + HostName(folder) + "\"", [&folder] {
        return GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
    });
}

}  // namespace vesk::test
