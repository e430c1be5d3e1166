// PNG written with zlib: each row filtered the way that leaves the smallest sum of differences
// (None, Sub or Up; flat window areas shrink to almost nothing), the whole compressed as one
// stream.
#include "builder/trial/PngPicture.h"

#include <zlib.h>

#include <cstdlib>
#include <fstream>

#include "media/BitmapReader.h"

namespace vesk::trial {
namespace {

constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
constexpr std::uint8_t kBitDepth = 8;
constexpr std::uint8_t kTrueColour = 2;
enum Filter : std::uint8_t { kNone = 0, kSub = 1, kUp = 2 };

void PutBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += char((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char type[5], const std::string& data) {
    PutBigEndian(out, std::uint32_t(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    PutBigEndian(out, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                          uInt(typed.size()))));
}

// Row `y` filtered with `filter`, after its filter byte.
void FilterRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t bytes, Filter filter,
               std::string& out) {
    out += char(filter);
    for (std::size_t i = 0; i < bytes; ++i) {
        std::uint8_t predicted = 0;
        if (filter == kSub && i >= 3) predicted = row[i - 3];
        if (filter == kUp && above) predicted = above[i];
        out += char(std::uint8_t(row[i] - predicted));
    }
}

// How far from zero a filtered row lies (bytes taken as signed): the usual measure of how well
// it will compress.
std::uint64_t Cost(const std::string& filtered) {
    std::uint64_t sum = 0;
    for (std::size_t i = 1; i < filtered.size(); ++i) {
        sum += std::uint64_t(std::abs(int(static_cast<signed char>(filtered[i]))));
    }
    return sum;
}

}  // namespace

std::string EncodePng(std::uint32_t width, std::uint32_t height,
                      const std::vector<std::uint8_t>& rgb) {
    const std::size_t rowBytes = std::size_t(width) * 3;
    std::string raw;
    raw.reserve((rowBytes + 1) * height);
    std::string candidate, best;
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = rgb.data() + y * rowBytes;
        const std::uint8_t* above = y ? row - rowBytes : nullptr;
        best.clear();
        for (Filter filter : {kNone, kSub, kUp}) {
            candidate.clear();
            FilterRow(row, above, rowBytes, filter, candidate);
            if (best.empty() || Cost(candidate) < Cost(best)) best.swap(candidate);
        }
        raw += best;
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
              reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()), Z_BEST_COMPRESSION);
    packed.resize(packedSize);

    std::string header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header += char(kBitDepth);
    header += char(kTrueColour);
    header += std::string(3, '\0');  // deflate, adaptive filtering, no interlace
    std::string png(kSignature, sizeof kSignature - 1);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", std::string());
    return png;
}

bool ConvertBitmapToPng(const std::string& bmpPath, const std::string& pngPath,
                        std::string& error) {
    const std::optional<DibImage> image = LoadBitmapFile(bmpPath);
    if (!image || image->BitCount() != 24 || image->Compression() != DibImage::kRgb) {
        error = bmpPath + " is not a 24-bit bitmap";
        return false;
    }
    const std::uint32_t width = std::uint32_t(image->Width());
    const std::uint32_t height = std::uint32_t(image->Rows());
    const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    std::vector<std::uint8_t> rgb(std::size_t(width) * 3 * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        // Rows are stored bottom up unless the height is negative.
        const std::uint32_t stored = image->Height() > 0 ? height - 1 - y : y;
        const std::uint8_t* source = image->Bits() + stored * stride;
        std::uint8_t* target = rgb.data() + std::size_t(y) * width * 3;
        for (std::uint32_t x = 0; x < width; ++x) {
            target[x * 3] = source[x * 3 + 2];
            target[x * 3 + 1] = source[x * 3 + 1];
            target[x * 3 + 2] = source[x * 3];
        }
    }
    const std::string png = EncodePng(width, height, rgb);
    std::ofstream out(pngPath, std::ios::binary | std::ios::trunc);
    out.write(png.data(), std::streamsize(png.size()));
    out.close();
    if (!out) {
        error = "cannot write " + pngPath;
        return false;
    }
    return true;
}

}  // namespace vesk::trial
