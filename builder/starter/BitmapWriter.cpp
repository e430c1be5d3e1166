// BMP writing.
#include "builder/starter/BitmapWriter.h"

#include <utility>

#include "platform/LittleEndian.h"

namespace vesk {

BitmapWriter::BitmapWriter(int width, int height, std::vector<Rgb> palette)
    : width_(width),
      height_(height),
      palette_(std::move(palette)),
      pixels_(std::size_t(width) * std::size_t(height), 0) {
    if (palette_.size() > 256) palette_.resize(256);
}

void BitmapWriter::Set(int x, int y, std::uint8_t index) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)] = index;
}

std::string BitmapWriter::FileBytes() const {
    constexpr std::uint32_t kFileHeader = 14, kInfoHeader = 40, kPixelsPerMetre = 2835;  // 72 dpi
    const std::uint32_t stride = (std::uint32_t(width_) + 3) & ~3u;
    const std::uint32_t imageSize = stride * std::uint32_t(height_);
    const std::uint32_t dataOffset = kFileHeader + kInfoHeader + 4 * std::uint32_t(palette_.size());
    std::string out;
    out.reserve(dataOffset + imageSize);
    out += "BM";
    Append32(out, dataOffset + imageSize);
    Append32(out, 0);  // two reserved words
    Append32(out, dataOffset);
    Append32(out, kInfoHeader);
    Append32(out, std::uint32_t(width_));
    Append32(out, std::uint32_t(height_));  // positive: rows stored bottom-up
    Append16(out, 1);                       // planes
    Append16(out, 8);                       // bits per pixel
    Append32(out, 0);                       // no compression
    Append32(out, imageSize);
    Append32(out, kPixelsPerMetre);
    Append32(out, kPixelsPerMetre);
    Append32(out, std::uint32_t(palette_.size()));
    Append32(out, 0);  // all colours important
    for (const Rgb& colour : palette_) {
        out.push_back(char(colour.blue));
        out.push_back(char(colour.green));
        out.push_back(char(colour.red));
        out.push_back(0);
    }
    for (int y = height_ - 1; y >= 0; --y) {
        const std::uint8_t* row = &pixels_[std::size_t(y) * std::size_t(width_)];
        out.append(reinterpret_cast<const char*>(row), std::size_t(width_));
        out.append(stride - std::uint32_t(width_), '\0');
    }
    return out;
}

std::vector<Rgb> GradientPalette(Rgb from, Rgb to, int count) {
    std::vector<Rgb> palette;
    for (int i = 0; i < count; ++i) {
        auto mix = [&](std::uint8_t a, std::uint8_t b) {
            return std::uint8_t(a + (int(b) - int(a)) * i / (count > 1 ? count - 1 : 1));
        };
        palette.push_back(
            {mix(from.red, to.red), mix(from.green, to.green), mix(from.blue, to.blue)});
    }
    return palette;
}

}  // namespace vesk
