// Starting a program and waiting for its end, through CreateProcess.
#include <windows.h>

#include <algorithm>
#include <utility>

#include "install/RunAndWait.h"
#include "platform/HandleWin32.h"
#include "project/PathParts.h"

namespace vesk {
namespace {

std::function<void(const std::string&)>& FailureNotice() {
    static std::function<void(const std::string&)> notice;
    return notice;
}

void NotifyFailure(const std::string& text) {
    if (FailureNotice()) {
        FailureNotice()(text);
    } else {
        MessageBoxA(nullptr, text.c_str(), "Error", MB_OK);
    }
}

}  // namespace

void SetRunFailureNotice(std::function<void(const std::string& text)> notice) {
    FailureNotice() = std::move(notice);
}

std::uint32_t RunAndWait(const std::string& path, int show) {
    SetCurrentDirectoryA(FolderOf(path).c_str());

    // The program is named on its own as well, so a path with spaces cannot start another
    // program; the command line quotes it for the program's own parsing. At most 499 characters.
    std::string commandLine = "\"" + path + "\"";
    commandLine.resize(std::min<std::size_t>(commandLine.size(), 499));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = WORD(show);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                        NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process)) {
        NotifyFailure("Create process failed");
        return kCreateProcessFailed;
    }
    FileHandle processHandle(process.hProcess);
    FileHandle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = kCreateProcessFailed;
    if (!GetExitCodeProcess(process.hProcess, &code)) code = kCreateProcessFailed;
    return std::uint32_t(code);
}

}  // namespace vesk
