// SOURCE_DATE_EPOCH: one fixed time for every time a build writes, for reproducible setups.
#pragma once

#include <cstdint>
#include <string>

#include "platform/CalendarTime.h"

namespace vesk {

// The latest time a file list entry can carry: 9999-12-31 23:59:59 UTC.
constexpr std::int64_t kLatestEpochSeconds = 253402300799;

// Reads the variable's value: decimal seconds since 1970-01-01 00:00:00 UTC, 0 to
// kLatestEpochSeconds, digits only. False with the reason otherwise.
bool ParseSourceDateEpoch(const std::string& text, std::int64_t& seconds, std::string& why);

// The UTC calendar time `seconds` after 1970-01-01 00:00:00 (0 <= seconds <= kLatestEpochSeconds).
CalendarTime CalendarTimeOfEpoch(std::int64_t seconds);

}  // namespace vesk
