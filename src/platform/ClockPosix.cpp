// The monotonic clock.
#include <time.h>

#include "platform/Clock.h"

namespace vesk {

std::uint64_t MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::uint64_t(now.tv_sec) * 1000u + std::uint64_t(now.tv_nsec) / 1000000u;
}

}  // namespace vesk
