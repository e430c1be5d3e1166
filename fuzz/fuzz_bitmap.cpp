// Fuzzes the bitmap reader: any bytes give none or a block whose parts all lie inside it, and
// the display palette can be built from every block it accepts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "media/BitmapReader.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::uint32_t Field(const vesk::DibImage& image, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, image.Info() + at, 4);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::optional<vesk::DibImage> image = vesk::ReadBitmap(data, size);
    if (!image) return 0;
    Check(image->Width() > 0 && image->Rows() > 0);
    Check(image->ColorCount() <= 256);
    Check(Field(*image, 32) == image->ColorCount());
    Check(Field(*image, 20) == image->ImageSize());
    Check(image->ImageSize() <= size);
    if (image->Compression() == vesk::DibImage::kRgb ||
        image->Compression() == vesk::DibImage::kBitFields) {
        // Uncompressed: every row the header describes is in the block.
        const std::uint64_t stride =
            (std::uint64_t(image->BitCount()) * image->Width() + 31) / 32 * 4;
        Check(image->ImageSize() == stride * std::uint64_t(image->Rows()));
    }
    volatile std::uint32_t sum = 0;
    for (std::size_t i = 0; i < image->ImageSize(); i += 97) sum = sum + image->Bits()[i];
    const std::size_t entries = image->PaletteColours().size();
    Check(entries == image->ColorCount() || (image->ColorCount() == 0 && entries <= 256));
    return 0;
}
