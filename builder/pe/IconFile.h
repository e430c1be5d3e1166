// An icon file (.ico): its images, checked, and the resources a program carries them as.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

struct IconImage {
    std::uint8_t width = 0, height = 0, colorCount = 0;  // 0 width or height: 256
    std::uint16_t planes = 0, bitCount = 0;
    std::string data;  // a DIB (BITMAPINFOHEADER, twice the height) or a PNG file
};

// Reads an icon file: the 6-byte header (reserved 0, type 1, 1 to 64 images), a 16-byte entry per
// image, each image inside the file and starting with a 40-byte BITMAPINFOHEADER or the PNG
// signature. False with the reason otherwise (a cursor, a BMP or PNG file renamed .ico...).
bool ReadIconFile(const std::string& bytes, std::vector<IconImage>& images, std::string& why);

// The RT_GROUP_ICON resource for `images` stored as RT_ICON resources `firstId`, `firstId` + 1...
std::string IconGroupResource(const std::vector<IconImage>& images, std::uint16_t firstId);

}  // namespace vesk
