// The program a test tries to swap in for a setup's preparatory program: run, it leaves the file
// named by VESK_TEST_SWAPPED_MARKER and exits with 0.
#include <windows.h>

int main() {
    char marker[MAX_PATH + 1];
    const DWORD length = GetEnvironmentVariableA("VESK_TEST_SWAPPED_MARKER", marker, sizeof marker);
    if (length == 0 || length >= sizeof marker) return 0;
    HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return 0;
}
