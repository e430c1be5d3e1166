// Pictures for the report: the walk program saves windows as BMP files, the report shows PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk::trial {

// A PNG file of `width` x `height` pixels from `rgb` (red, green, blue per pixel, rows top down).
std::string EncodePng(std::uint32_t width, std::uint32_t height,
                      const std::vector<std::uint8_t>& rgb);

// Writes the 24-bit BMP at `bmpPath` as PNG at `pngPath`; false with the reason when it is not
// such a picture or a file cannot be read or written.
bool ConvertBitmapToPng(const std::string& bmpPath, const std::string& pngPath, std::string& error);

}  // namespace vesk::trial
