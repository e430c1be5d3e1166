// Win32 drawing of bitmap files read by the platform-neutral reader.
#include "media/BitmapDisplayWin32.h"

#include <vector>

#include "media/BitmapReader.h"

namespace vesk {

namespace {

constexpr WORD kPaletteVersion = 0x300;

}  // namespace

GdiObject<HPALETTE> CreateImagePalette(const DibImage& image) {
    const std::vector<PaletteColour> colours = image.PaletteColours();
    if (colours.empty()) return GdiObject<HPALETTE>();
    // LOGPALETTE declares one entry; the others follow it in the same buffer.
    std::vector<std::uint8_t> buffer(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
    LOGPALETTE* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    palette->palVersion = kPaletteVersion;
    palette->palNumEntries = WORD(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
        palette->palPalEntry[i] = {colours[i].red, colours[i].green, colours[i].blue, 0};
    }
    return GdiObject<HPALETTE>(CreatePalette(palette));
}

bool BlitImage(HDC dc, int x, int y, int width, int height, const DibImage* image, int sourceX,
               int sourceYOffset, DWORD rop) {
    if (image == nullptr) return PatBlt(dc, x, y, width, height, rop) != FALSE;
    // The source row counts from the bottom line of the image, as the DIB calls want it.
    const int sourceRow = image->Rows() - height - sourceYOffset;
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(image->Info());
    return StretchDIBits(dc, x, y, width, height, sourceX, sourceRow, width, height, image->Bits(),
                         info, DIB_RGB_COLORS, rop) != 0;
}

bool DrawBitmapFile(const std::string& path, HDC dc, int x, int y, int& width, int& height) {
    const std::optional<DibImage> image = LoadBitmapFile(path);
    if (!image) return false;
    GdiObject<HPALETTE> palette = CreateImagePalette(*image);
    {
        PaletteSelection selection(dc, palette.get());
        BlitImage(dc, x, y, image->Width(), image->Rows(), &*image, 0, 0, SRCCOPY);
    }
    width = image->Width();
    height = image->Rows();
    return true;
}

}  // namespace vesk
