// Starting programs through CreateProcess.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/HandleWin32.h"
#include "platform/Processes.h"

namespace vesk {
namespace {

class Win32Processes : public Processes {
public:
    std::optional<std::uint32_t> RunAndWait(const std::string& program,
                                            const std::string& commandLine,
                                            const std::string& folder, int show) override {
        SetCurrentDirectoryA(folder.c_str());
        std::string line = commandLine;  // CreateProcess may write into its command line
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = WORD(show);
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, TRUE,
                            NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process)) {
            return std::nullopt;
        }
        FileHandle processHandle(process.hProcess);
        FileHandle threadHandle(process.hThread);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        if (!GetExitCodeProcess(process.hProcess, &code)) return std::nullopt;
        return std::uint32_t(code);
    }

    bool Start(const std::string& program, const std::string& commandLine,
               const std::string& folder, int show) override {
        std::string line = commandLine;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = WORD(show);
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE,
                            NORMAL_PRIORITY_CLASS, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
            return false;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    bool Open(const std::string& path, const std::string& parameters, const std::string& folder,
              int show) override {
        HINSTANCE result = ShellExecuteA(nullptr, nullptr, path.c_str(),
                                         parameters.empty() ? nullptr : parameters.c_str(),
                                         folder.empty() ? nullptr : folder.c_str(), show);
        // Values above 32 mean success.
        return reinterpret_cast<INT_PTR>(result) > 32;
    }
};

}  // namespace

Processes& HostProcesses() {
    static Win32Processes processes;
    return processes;
}

}  // namespace vesk
