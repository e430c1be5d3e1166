// Entry point of the engine stub.
#include <windows.h>

#include "app/SetupAppWin32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    static vesk::SetupApp app;  // large buffers: keep them off the stack
    return app.Run(commandLine ? commandLine : "");
}
