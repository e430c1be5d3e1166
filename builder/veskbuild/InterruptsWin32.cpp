// Console control events set the flag; the second one is left to the system, which ends the
// process.
#include <windows.h>

#include "builder/veskbuild/Interrupts.h"

namespace vesk::tool {
namespace {

std::atomic<bool> interrupted{false};

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    if (interrupted.exchange(true)) return FALSE;
    // Closing the console ends the process when the handler returns: give the build a moment.
    if (event == CTRL_CLOSE_EVENT) Sleep(2000);
    return TRUE;
}

}  // namespace

const std::atomic<bool>& WatchInterrupts() {
    interrupted.store(false);
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);  // installed once, however often called
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    return interrupted;
}

}  // namespace vesk::tool
