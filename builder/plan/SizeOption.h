// Reading a volume size such as "1474560", "1440K" or "650M" from the command line or a project.
#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// Accepts a decimal number of bytes with an optional suffix K, KB, M, MB, G or GB (any letter
// case; binary multiples: 1K = 1024 bytes). The result must lie in 1 ... 2^31 - 1, the range the
// engine's volume arithmetic works in. False, with the reason in `error`, for anything else.
bool ParseSizeOption(const std::string& text, std::int32_t& bytes, std::string& error);

}  // namespace vesk
