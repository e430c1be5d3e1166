// Encoder for the LZSS stream format of ContainerFormat.h (host side only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesk {

// Appends the LZSS stream of `data` to `out`. The stream decodes with a fresh window (a new body).
void LzssEncode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out);

}  // namespace vesk
