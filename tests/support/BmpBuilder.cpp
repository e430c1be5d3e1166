// Writes small bitmap files for the tests.
#include "support/BmpBuilder.h"

namespace vesk::test {

std::string Le16(std::uint32_t value) {
    return std::string{char(value & 0xFF), char((value >> 8) & 0xFF)};
}

std::string Le32(std::uint32_t value) {
    return Le16(value & 0xFFFF) + Le16(value >> 16);
}

std::string ColourTable(int count, bool core) {
    std::string table;
    for (int i = 0; i < count; ++i) {
        table += std::string{char(0x10), char(0x20), char(i)};
        if (!core) table += '\0';
    }
    return table;
}

std::string BmpBuilder::Bytes() const {
    std::string header;
    if (coreHeader) {
        header = Le32(12) + Le16(std::uint32_t(width)) + Le16(std::uint32_t(height)) + Le16(1) +
                 Le16(bitCount);
    } else {
        header = Le32(headerSize) + Le32(std::uint32_t(width)) + Le32(std::uint32_t(height)) +
                 Le16(1) + Le16(bitCount) + Le32(compression) + Le32(imageSize) + Le32(2835) +
                 Le32(2835) + Le32(colorsUsed) + Le32(colorsImportant);
        if (headerSize > header.size()) header.resize(headerSize, '\0');
    }
    std::string body = header + table + gap;
    if (!fileHeader) return body + pixels;
    const std::uint32_t offset = overrideOffset ? pixelOffset : std::uint32_t(14 + body.size());
    const std::uint32_t fileSize = std::uint32_t(14 + body.size() + pixels.size());
    return "BM" + Le32(fileSize) + Le32(0) + Le32(offset) + body + pixels;
}

}  // namespace vesk::test
