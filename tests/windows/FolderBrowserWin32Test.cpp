// The folder-browse dialog, driven from a second thread as a user would: OK and Cancel.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "platform/FolderBrowser.h"

namespace vesk {
namespace {

BOOL CALLBACK FindBrowseDialog(HWND window, LPARAM found) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof(className));
    if (std::string(className) == "#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Waits up to ten seconds for the dialog, lets it settle, then presses `button`.
std::thread PressWhenShown(int button) {
    DWORD owner = GetCurrentThreadId();
    return std::thread([button, owner] {
        for (int wait = 0; wait < 200; ++wait) {
            HWND dialog = nullptr;
            EnumThreadWindows(owner, FindBrowseDialog, reinterpret_cast<LPARAM>(&dialog));
            if (dialog) {
                Sleep(300);
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
                return;
            }
            Sleep(50);
        }
    });
}

// Under Wine the dialog needs an X display; without one it never appears and nothing can press.
bool UnderWineWithoutDisplay() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    bool wine = ntdll && GetProcAddress(ntdll, "wine_get_version");
    char display[8];
    return wine && GetEnvironmentVariableA("DISPLAY", display, sizeof(display)) == 0;
}

std::string Upper(std::string text) {
    for (char& c : text) c = char(toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(FolderBrowserWin32Test, CancelGivesEmptyTextAndOkGivesTheInitialFolder) {
    if (UnderWineWithoutDisplay()) GTEST_SKIP() << "Wine has no X display (run under xvfb-run)";
    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::thread cancel = PressWhenShown(IDCANCEL);
    EXPECT_EQ(BrowseForFolder("Select location", windows), "");
    cancel.join();

    std::thread ok = PressWhenShown(IDOK);
    EXPECT_EQ(Upper(BrowseForFolder("Select location", windows)), Upper(windows));
    ok.join();
}

}  // namespace
}  // namespace vesk
