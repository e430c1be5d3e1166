// Entry point of the uninstaller, Vesk-UnInstall.exe.
#include <windows.h>

#include "platform/SystemLibrariesWin32.h"
#include "platform/WideTextWin32.h"
#include "uninstaller/UninstallAppWin32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything can load a library: none may come from the folder the uninstaller lies in.
    vesk::RestrictLibrarySearch();
    vesk::PreloadSystemLibraries();
    return vesk::UninstallApp().Run(vesk::Narrow(GetCommandLineW()));
}
