// A clock for measuring how long things take: milliseconds from an arbitrary start that never
// goes backwards. (The engine stub takes it from the system rather than from <chrono>, whose
// library part would bring the exception machinery into every setup.)
#pragma once

#include <cstdint>

namespace vesk {

std::uint64_t MonotonicMilliseconds();

}  // namespace vesk
