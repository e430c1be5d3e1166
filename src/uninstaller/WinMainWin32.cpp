// Entry point of the uninstaller, Vesk-UnInstall.exe.
#include <windows.h>

#include "uninstaller/UninstallAppWin32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return vesk::UninstallApp().Run(GetCommandLineA());
}
