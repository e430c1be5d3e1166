// Parses the file header, the information or core header, the colour table and the pixel rows of
// a bitmap file held in memory.
#include "media/BitmapReader.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/FileOpen.h"
#include "platform/LittleEndian.h"

namespace vesk {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kPixelOffsetField = 10;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kMaskBytes = 12;  // red, green and blue masks of bit-field rows
constexpr std::size_t kReadPiece = 32768;

// The fields of either header kind that the block needs.
struct Header {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t xPixelsPerMetre = 0;
    std::uint32_t yPixelsPerMetre = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t colorsImportant = 0;
};

std::optional<Header> ParseHeader(const std::uint8_t* p, std::size_t available) {
    if (available < 4) return std::nullopt;
    Header h;
    h.size = Get32(p);
    if (h.size == kCoreHeaderSize && available >= kCoreHeaderSize) {
        h.width = Get16(p + 4);
        h.height = Get16(p + 6);
        h.planes = Get16(p + 8);
        h.bitCount = Get16(p + 10);
        return h;
    }
    if (h.size != kInfoHeaderSize || available < kInfoHeaderSize) return std::nullopt;
    h.width = std::int32_t(Get32(p + 4));
    h.height = std::int32_t(Get32(p + 8));
    h.planes = Get16(p + 12);
    h.bitCount = Get16(p + 14);
    h.compression = Get32(p + 16);
    h.imageSize = Get32(p + 20);
    h.xPixelsPerMetre = Get32(p + 24);
    h.yPixelsPerMetre = Get32(p + 28);
    h.colorsUsed = Get32(p + 32);
    h.colorsImportant = Get32(p + 36);
    return h;
}

bool ValidShape(const Header& h) {
    switch (h.bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            return false;
    }
    if (h.width <= 0 || h.width > kMaxBitmapDimension) return false;
    if (h.height == 0 || h.height > kMaxBitmapDimension || h.height < -kMaxBitmapDimension) {
        return false;
    }
    switch (h.compression) {
        case DibImage::kRgb:
            return true;
        // Compressed rows are always stored bottom-up.
        case DibImage::kRle8:
            return h.bitCount == 8 && h.height > 0;
        case DibImage::kRle4:
            return h.bitCount == 4 && h.height > 0;
        case DibImage::kBitFields:
            return h.bitCount == 16 || h.bitCount == 32;
        default:
            return false;
    }
}

// The colours-used field when set, else the full table of the bit depth; none when the table
// would be larger than the depth can address (or than any display palette, above 8 bits).
std::optional<std::uint32_t> ColorCountOf(const Header& h) {
    const std::uint32_t full = h.bitCount <= 8 ? 1u << h.bitCount : 0;
    const std::uint32_t limit = h.bitCount <= 8 ? full : 256;
    if (h.size == kInfoHeaderSize && h.colorsUsed != 0) {
        if (h.colorsUsed > limit) return std::nullopt;
        return h.colorsUsed;
    }
    return full;
}

}  // namespace

std::optional<DibImage> ReadBitmap(const std::uint8_t* data, std::size_t size) {
    if (size < kFileHeaderSize) return std::nullopt;
    const bool fileHeader = data[0] == 'B' && data[1] == 'M';
    const std::size_t headerPos = fileHeader ? kFileHeaderSize : 0;
    const std::uint32_t pixelOffset = fileHeader ? Get32(data + kPixelOffsetField) : 0;

    std::optional<Header> parsed = ParseHeader(data + headerPos, size - headerPos);
    if (!parsed || !ValidShape(*parsed)) return std::nullopt;
    const Header& h = *parsed;
    std::optional<std::uint32_t> colorCount = ColorCountOf(h);
    if (!colorCount) return std::nullopt;

    // Every position below is at most a few kilobytes past a position inside the data, or
    // checked against the data's length before it is added to.
    const bool core = h.size == kCoreHeaderSize;
    const std::size_t entrySize = core ? 3 : 4;
    const std::size_t maskBytes = h.compression == DibImage::kBitFields ? kMaskBytes : 0;
    const std::size_t tablePos = headerPos + h.size;
    const std::size_t tableBytes = maskBytes + *colorCount * entrySize;
    if (tableBytes > size - tablePos) return std::nullopt;

    const std::size_t pixelPos = pixelOffset != 0 ? pixelOffset : tablePos + tableBytes;
    if (pixelPos > size) return std::nullopt;
    const std::size_t available = size - pixelPos;

    const std::uint64_t stride = (std::uint64_t(h.bitCount) * std::uint32_t(h.width) + 31) / 32 * 4;
    const std::uint64_t rowBytes = stride * std::uint64_t(h.height < 0 ? -h.height : h.height);
    std::uint64_t imageBytes = rowBytes;
    if (h.compression == DibImage::kRle8 || h.compression == DibImage::kRle4) {
        // A compressed stream is as long as the header says; without a length, the rest.
        imageBytes = h.imageSize != 0 ? h.imageSize : available;
    }
    if (imageBytes > available) return std::nullopt;

    std::vector<std::uint8_t> block(DibImage::kInfoHeaderSize + maskBytes + *colorCount * 4 +
                                    std::size_t(imageBytes));
    std::uint8_t* out = block.data();
    Put32(out, kInfoHeaderSize);
    Put32(out + 4, std::uint32_t(h.width));
    Put32(out + 8, std::uint32_t(h.height));
    Put16(out + 12, h.planes);
    Put16(out + 14, h.bitCount);
    Put32(out + 16, h.compression);
    Put32(out + 20, std::uint32_t(imageBytes));
    Put32(out + 24, h.xPixelsPerMetre);
    Put32(out + 28, h.yPixelsPerMetre);
    Put32(out + 32, *colorCount);
    Put32(out + 36, core ? *colorCount : h.colorsImportant);
    out += DibImage::kInfoHeaderSize;

    if (maskBytes != 0) std::memcpy(out, data + tablePos, maskBytes);
    out += maskBytes;
    const std::uint8_t* entry = data + tablePos + maskBytes;
    for (std::uint32_t i = 0; i < *colorCount; ++i, entry += entrySize, out += 4) {
        out[0] = entry[0];  // blue
        out[1] = entry[1];  // green
        out[2] = entry[2];  // red
        out[3] = core ? 0 : entry[3];
    }
    if (imageBytes != 0) std::memcpy(out, data + pixelPos, std::size_t(imageBytes));
    return DibImage(std::move(block), *colorCount, maskBytes);
}

std::optional<DibImage> LoadBitmapFile(const std::string& path) {
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file(OpenFile(path, "rb"));
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t piece[kReadPiece];
    for (;;) {
        const std::size_t got = std::fread(piece, 1, sizeof piece, file.get());
        if (got == 0) break;
        if (bytes.size() + got > kMaxBitmapFileSize) return std::nullopt;
        bytes.insert(bytes.end(), piece, piece + got);
    }
    if (std::ferror(file.get())) return std::nullopt;
    return ReadBitmap(bytes.data(), bytes.size());
}

}  // namespace vesk
