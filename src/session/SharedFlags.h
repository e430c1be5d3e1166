// The flags the user-interface thread and the install worker share, each written by one side and
// polled by the other.
#pragma once

#include <atomic>

namespace vesk {

struct SharedFlags {
    // Setup is over: stop all work (an extraction in progress ends with a failure).
    std::atomic<bool> setupFinished{false};
    // The install is in a good state; clear means the final clean-up rolls back.
    std::atomic<bool> installOk{true};
    // Cancel was pressed on the progress page; the worker asks the user and clears it.
    std::atomic<bool> cancelRequested{false};
    // The install ended for a failure (a file it could not write, a volume that was not found),
    // not by the user's choice to stop it.
    std::atomic<bool> installFailed{false};
    // The licence page's Accept is checked.
    std::atomic<bool> licenceAccepted{false};
};

}  // namespace vesk
