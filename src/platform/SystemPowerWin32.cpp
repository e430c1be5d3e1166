// The shutdown privilege and the forced restart through the process token and ExitWindowsEx.
#include <windows.h>

#include "platform/HandleWin32.h"
#include "platform/SystemPower.h"

namespace vesk {
namespace {

class Win32SystemPower : public SystemPower {
public:
    bool EnableShutdownPrivilege() override {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
            return false;
        }
        FileHandle owned(token);
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege",
                                   &privileges.Privileges[0].Luid)) {
            return false;
        }
        // Succeeds even when the privilege is not held; the last error tells.
        if (!AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) return false;
        return GetLastError() == ERROR_SUCCESS;
    }

    bool ForceRestart() override { return ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0) != 0; }
};

}  // namespace

SystemPower& HostSystemPower() {
    static Win32SystemPower power;
    return power;
}

}  // namespace vesk
