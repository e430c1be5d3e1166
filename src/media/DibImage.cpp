// Field access and the display palette of a device-independent bitmap block.
#include "media/DibImage.h"

#include <utility>

#include "platform/LittleEndian.h"

namespace vesk {

namespace {

constexpr int kSpreadSize = 256;
constexpr int kSpreadReds = 8;
constexpr int kSpreadGreens = 8;

}  // namespace

DibImage::DibImage(std::vector<std::uint8_t> block, std::uint32_t colorCount, std::size_t maskBytes)
    : block_(std::move(block)), colorCount_(colorCount), maskBytes_(maskBytes) {}

std::int32_t DibImage::Width() const {
    return std::int32_t(Get32(block_.data() + 4));
}

std::int32_t DibImage::Height() const {
    return std::int32_t(Get32(block_.data() + 8));
}

std::uint16_t DibImage::BitCount() const {
    return Get16(block_.data() + 14);
}

std::uint32_t DibImage::Compression() const {
    return Get32(block_.data() + 16);
}

std::vector<PaletteColour> DibImage::PaletteColours() const {
    std::vector<PaletteColour> colours;
    if (colorCount_ != 0) {
        const std::uint8_t* entry = ColorTable();
        for (std::uint32_t i = 0; i < colorCount_; ++i, entry += 4) {
            colours.push_back({entry[2], entry[1], entry[0]});
        }
    } else if (BitCount() == 24) {
        for (int i = 0; i < kSpreadSize; ++i) {
            colours.push_back({std::uint8_t(32 * (i % kSpreadReds)),
                               std::uint8_t(32 * ((i / kSpreadReds) % kSpreadGreens)),
                               std::uint8_t(64 * (i / (kSpreadReds * kSpreadGreens)))});
        }
    }
    return colours;
}

}  // namespace vesk
