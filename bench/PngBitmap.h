// Turns PNG pictures into the 24-bit Windows bitmaps an installer carries (benchmark corpus only).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk::bench {

// The picture in `png` (8-bit RGB or RGBA, not interlaced; alpha is laid over white) as a
// bottom-up 24-bit BMP file. Empty when the PNG is of another kind or damaged.
std::vector<std::uint8_t> PngToBmp(const std::vector<std::uint8_t>& png);

// Width and height from a PNG's header without decoding it; false when it is not a PNG.
bool PngSize(const std::vector<std::uint8_t>& png, std::uint32_t& width, std::uint32_t& height);

}  // namespace vesk::bench
