// A component for the tests of component registration: registered (DllRegisterServer), it writes
// the value "Registered" under HKEY_LOCAL_MACHINE\SOFTWARE\Vesk Test Component and then waits
// while the file named by VESK_TEST_COMPONENT_HOLD (when set) does not exist (a minute at most);
// unregistered (DllUnregisterServer), it deletes that key.
#include <windows.h>

namespace {

constexpr char kKey[] = "SOFTWARE\\Vesk Test Component";

}  // namespace

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return E_FAIL;
    }
    const char data[] = "1";
    RegSetValueExA(key, "Registered", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
    RegCloseKey(key);
    char hold[MAX_PATH + 1];
    const DWORD length = GetEnvironmentVariableA("VESK_TEST_COMPONENT_HOLD", hold, sizeof hold);
    if (length > 0 && length < sizeof hold) {
        const DWORD start = GetTickCount();
        while (GetFileAttributesA(hold) == INVALID_FILE_ATTRIBUTES &&
               GetTickCount() - start < 60000) {
            Sleep(20);
        }
    }
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey) == ERROR_SUCCESS ? S_OK : S_FALSE;
}
