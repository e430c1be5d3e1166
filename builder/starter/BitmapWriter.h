// Writes Windows bitmap files (BMP) for the pictures of a starter project.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
};

// An 8-bit palette bitmap in memory: up to 256 colours, one palette index per pixel.
class BitmapWriter {
public:
    BitmapWriter(int width, int height, std::vector<Rgb> palette);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // (0, 0) is the top-left pixel; coordinates outside the picture are ignored.
    void Set(int x, int y, std::uint8_t index);

    // The file: BITMAPFILEHEADER, the 40-byte BITMAPINFOHEADER, the palette and the rows
    // bottom-up, each padded to four bytes.
    std::string FileBytes() const;

private:
    int width_, height_;
    std::vector<Rgb> palette_;
    std::vector<std::uint8_t> pixels_;  // top row first
};

// A palette of `count` colours running evenly from `from` to `to`.
std::vector<Rgb> GradientPalette(Rgb from, Rgb to, int count);

}  // namespace vesk
