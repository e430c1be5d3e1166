// Entry point of the engine stub.
#include <windows.h>

#include <memory>

#include "app/SetupAppWin32.h"
#include "platform/SystemLibrariesWin32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    // Before anything can load a library: none may come from the folder Setup.exe lies in.
    vesk::RestrictLibrarySearch();
    vesk::PreloadSystemLibraries();
    // Large buffers: on the heap, neither on the stack nor as initialised data in the file.
    const auto app = std::make_unique<vesk::SetupApp>();
    return app->Run(commandLine ? commandLine : "");
}
