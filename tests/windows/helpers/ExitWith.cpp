// A tiny program for tests that start programs: it appends the folder it was started in to the
// file named by VESK_TEST_MARKER (when set; so two starts write it twice), waits while the file
// named by VESK_TEST_HOLD (when set) does not exist (a minute at most), and exits with the code in
// VESK_TEST_EXIT_CODE (0 when unset). The settings come through the environment because the engine
// passes no arguments.
#include <windows.h>

#include <cstdlib>

int main() {
    char marker[MAX_PATH + 1];
    DWORD length = GetEnvironmentVariableA("VESK_TEST_MARKER", marker, sizeof marker);
    if (length > 0 && length < sizeof marker) {
        char folder[MAX_PATH + 1];
        DWORD folderLength = GetCurrentDirectoryA(sizeof folder, folder);
        HANDLE file = CreateFileA(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            if (folderLength < sizeof folder)
                WriteFile(file, folder, folderLength, &written, nullptr);
            CloseHandle(file);
        }
    }
    char hold[MAX_PATH + 1];
    length = GetEnvironmentVariableA("VESK_TEST_HOLD", hold, sizeof hold);
    if (length > 0 && length < sizeof hold) {
        const DWORD start = GetTickCount();
        while (GetFileAttributesA(hold) == INVALID_FILE_ATTRIBUTES &&
               GetTickCount() - start < 60000) {
            Sleep(20);
        }
    }
    char code[32];
    length = GetEnvironmentVariableA("VESK_TEST_EXIT_CODE", code, sizeof code);
    if (length == 0 || length >= sizeof code) return 0;
    return std::atoi(code);
}
