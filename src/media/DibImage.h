// A device-independent bitmap held as one block: the 40-byte information header, the colour
// table and the pixel rows back to back, the layout the Windows DIB drawing calls take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesk {

// One colour of the palette built for palette-based displays.
struct PaletteColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const PaletteColour& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

// Made only by ReadBitmap, which guarantees that every part lies inside the block and that the
// pixel part holds every row the header describes (or the whole compressed stream).
class DibImage {
public:
    static constexpr std::size_t kInfoHeaderSize = 40;
    static constexpr std::uint32_t kRgb = 0;
    static constexpr std::uint32_t kRle8 = 1;
    static constexpr std::uint32_t kRle4 = 2;
    static constexpr std::uint32_t kBitFields = 3;

    DibImage(std::vector<std::uint8_t> block, std::uint32_t colorCount, std::size_t maskBytes);

    // The header followed by the masks (bit-field images) and the colour table: a BITMAPINFO.
    const std::uint8_t* Info() const { return block_.data(); }
    const std::vector<std::uint8_t>& Block() const { return block_; }

    std::int32_t Width() const;
    // As stored: negative for rows stored top-down.
    std::int32_t Height() const;
    // The number of rows, whichever way they are stored.
    std::int32_t Rows() const { return Height() < 0 ? -Height() : Height(); }
    std::uint16_t BitCount() const;
    std::uint32_t Compression() const;

    std::uint32_t ColorCount() const { return colorCount_; }
    // `ColorCount` entries of blue, green, red, 0.
    const std::uint8_t* ColorTable() const { return block_.data() + kInfoHeaderSize + maskBytes_; }
    const std::uint8_t* Bits() const { return block_.data() + BitsOffset(); }
    std::size_t ImageSize() const { return block_.size() - BitsOffset(); }

    // The palette for palette-based displays: the colour table's colours; for a 24-bit image
    // without one a fixed spread of 256 colours (8 reds, 8 greens, 4 blues); otherwise none.
    std::vector<PaletteColour> PaletteColours() const;

private:
    std::size_t BitsOffset() const { return kInfoHeaderSize + maskBytes_ + colorCount_ * 4; }

    std::vector<std::uint8_t> block_;
    std::uint32_t colorCount_;
    std::size_t maskBytes_;
};

}  // namespace vesk
