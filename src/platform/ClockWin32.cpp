// The system's performance counter, in milliseconds.
#include <windows.h>

#include "platform/Clock.h"

namespace vesk {

std::uint64_t MonotonicMilliseconds() {
    LARGE_INTEGER frequency{}, counter{};
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0 ||
        !QueryPerformanceCounter(&counter)) {
        return GetTickCount();
    }
    const std::uint64_t ticks = std::uint64_t(counter.QuadPart);
    const std::uint64_t perSecond = std::uint64_t(frequency.QuadPart);
    return ticks / perSecond * 1000u + ticks % perSecond * 1000u / perSecond;
}

}  // namespace vesk
