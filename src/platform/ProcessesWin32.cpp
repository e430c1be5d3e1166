// Starting programs through CreateProcess.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/HandleWin32.h"
#include "platform/Processes.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

class Win32Processes : public Processes {
public:
    std::optional<std::uint32_t> RunAndWait(const std::string& program,
                                            const std::string& commandLine,
                                            const std::string& folder, int show) override {
        SetCurrentDirectoryW(Wide(folder).c_str());
        WideText line = Wide(commandLine);  // CreateProcess may write into its command line
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = WORD(show);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(Wide(program).c_str(), &line[0], nullptr, nullptr, TRUE,
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
        WideText line = Wide(commandLine);
        const WideText current = Wide(folder);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = WORD(show);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(Wide(program).c_str(), &line[0], nullptr, nullptr, FALSE,
                            NORMAL_PRIORITY_CLASS, nullptr,
                            folder.empty() ? nullptr : current.c_str(), &startup, &process)) {
            return false;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    bool Open(const std::string& path, const std::string& parameters, const std::string& folder,
              int show) override {
        const WideText wideParameters = Wide(parameters);
        const WideText wideFolder = Wide(folder);
        HINSTANCE result = ShellExecuteW(nullptr, nullptr, Wide(path).c_str(),
                                         parameters.empty() ? nullptr : wideParameters.c_str(),
                                         folder.empty() ? nullptr : wideFolder.c_str(), show);
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
