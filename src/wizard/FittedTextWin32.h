// Text drawn into a rectangle it may be too long for: wrapped at word boundaries, and cut with
// "..." where even the wrapped text does not fit.
#pragma once

#include <windows.h>

#include <string>

namespace vesk {

// The height `text` takes in the font selected into `dc`, wrapped to `width` pixels.
int WrappedHeight(HDC dc, const std::string& text, int width);

// Draws `text` wrapped into `area` (DT_WORDBREAK; a word wider than the area is broken) in as
// many whole lines as the area holds, at least one; when the text needs more, it is cut at a
// character and ends with "...". Returns the height drawn.
int DrawFittedText(HDC dc, const std::string& text, const RECT& area);

}  // namespace vesk
