// Entry point of the engine stub.
#include <windows.h>

#include "app/SetupAppWin32.h"
#include "platform/SystemLibrariesWin32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything can load a library: none may come from the folder Setup.exe lies in.
    vesk::RestrictLibrarySearch();
    static vesk::SetupApp app;  // large buffers: keep them off the stack
    return app.Run();
}
