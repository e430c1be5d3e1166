// Writes small bitmap files for the tests, with every header field under the test's control.
#pragma once

#include <cstdint>
#include <string>

namespace vesk::test {

struct BmpBuilder {
    bool fileHeader = true;
    bool coreHeader = false;
    // The information header's size: 40, or more for the later header kinds (108, 124), whose
    // extra fields are written as zeros.
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t colorsImportant = 0;
    // Written right after the header: masks and colour entries as the file stores them.
    std::string table;
    // Bytes between the table and the pixels; the file header's offset points past them.
    std::string gap;
    std::string pixels;
    // When set, written as the pixel offset instead of the real one.
    bool overrideOffset = false;
    std::uint32_t pixelOffset = 0;

    std::string Bytes() const;
};

// Little-endian field writers for building tables and pixel rows.
std::string Le16(std::uint32_t value);
std::string Le32(std::uint32_t value);
// `count` colour entries (blue, green, red[, 0]) whose red part is the entry's index.
std::string ColourTable(int count, bool core = false);

}  // namespace vesk::test
