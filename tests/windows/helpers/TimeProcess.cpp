// Runs a program with its arguments, waits for its end and prints how long it ran, so a benchmark
// measures a Windows program from inside Wine.
//
//   time_process PROGRAM [ARGUMENT ...]
//
// The exit code is the program's; 90 when it cannot be started.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: time_process PROGRAM [ARGUMENT ...]\n");
        return 2;
    }
    std::string commandLine = "\"" + std::string(argv[1]) + "\"";
    for (int i = 2; i < argc; ++i) commandLine += std::string(" ") + argv[i];
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const DWORD start = GetTickCount();
    if (!CreateProcessA(argv[1], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "time_process: cannot start %s\n", argv[1]);
        return 90;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    const DWORD elapsed = GetTickCount() - start;
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    std::printf("process worked: %lu ms\n", elapsed);
    return int(code);
}
