// SIGINT and SIGTERM set the flag; SA_RESETHAND gives the second one its default effect.
#include <signal.h>

#include "builder/veskbuild/Interrupts.h"

namespace vesk::tool {
namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void OnInterrupt(int) {
    interrupted.store(true);
}

}  // namespace

const std::atomic<bool>& WatchInterrupts() {
    interrupted.store(false);
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    return interrupted;
}

}  // namespace vesk::tool
