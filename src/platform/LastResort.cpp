// The last-resort handler: process-wide by necessity, as operator new is.
#include "platform/LastResort.h"

#include <atomic>
#include <cstdlib>

namespace vesk {
namespace {

std::atomic<LastResortHandler> gHandler{nullptr};
std::atomic<void*> gContext{nullptr};
std::atomic<bool> gEntered{false};

}  // namespace

void SetLastResort(LastResortHandler handler, void* context) {
    gContext = context;
    gHandler = handler;
}

void RunLastResort(int exitCode) {
    const LastResortHandler handler = gHandler;
    // The clean-up itself may fail the same way: it runs once, and only in the first caller.
    if (handler && !gEntered.exchange(true)) handler(gContext);
    std::_Exit(exitCode);
}

}  // namespace vesk
