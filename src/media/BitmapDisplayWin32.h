// Paints bitmap files on a device context: the palette for palette-based displays and the
// unstretched drawing of the pixel rows.
#pragma once

#include <windows.h>

#include <string>

#include "media/DibImage.h"
#include "platform/GdiObjectWin32.h"

namespace vesk {

// A palette of the image's display colours (see DibImage::PaletteColours); none when it has none.
GdiObject<HPALETTE> CreateImagePalette(const DibImage& image);

// Draws `width` x `height` pixels of the image, without stretching, with their top-left corner at
// (x, y), starting at column `sourceX` and `sourceYOffset` rows below the image's top, combined
// with the device by `rop`. Without an image it fills the rectangle by `rop` alone (pattern fill).
bool BlitImage(HDC dc, int x, int y, int width, int height, const DibImage* image, int sourceX,
               int sourceYOffset, DWORD rop);

// Reads the bitmap file and draws it at its own size with (x, y) as its top-left corner, through
// its palette. Gives its width and height; when the file cannot be read, draws nothing, leaves
// `width` and `height` as they were and returns false.
bool DrawBitmapFile(const std::string& path, HDC dc, int x, int y, int& width, int& height);

}  // namespace vesk
