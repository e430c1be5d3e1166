// The flags the user-interface thread and the install worker share, each written by one side and
// polled by the other.
#pragma once

#include <atomic>

namespace vesk {

struct SharedFlags {
    // Setup is over: stop all work (an extraction in progress ends with a failure).
    std::atomic<bool> setupFinished{false};
    // The install is in a good state; clear means the install ends early.
    std::atomic<bool> installOk{true};
    // The install ran to its end. Until it is set, the final clean-up rolls back whatever the run
    // changed (a wizard left before the install, the user information page's values included).
    std::atomic<bool> installCompleted{false};
    // Cancel was pressed on the progress page; the worker asks the user and clears it.
    std::atomic<bool> cancelRequested{false};
    // The install ended for a failure (a file it could not write, a volume that was not found),
    // not by the user's choice to stop it.
    std::atomic<bool> installFailed{false};
    // A file in use is replaced only when Windows next starts: the install needs a restart.
    std::atomic<bool> restartNeeded{false};
    // The licence page's Accept is checked.
    std::atomic<bool> licenceAccepted{false};
};

}  // namespace vesk
