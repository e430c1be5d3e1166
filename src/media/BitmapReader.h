// Reads Windows bitmap files (BMP) into a DibImage. The bytes come from the setup's payload, so
// every size and offset in them is checked against the length of the file before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "media/DibImage.h"

namespace vesk {

// Longest bitmap file read; the pictures of a setup are a few hundred kilobytes at most.
constexpr std::size_t kMaxBitmapFileSize = 64u << 20;
// Largest width or height accepted; larger would only make the display allocate without end.
constexpr std::int32_t kMaxBitmapDimension = 16384;

// Accepts an optional 14-byte file header ("BM"), then a 40-byte information header or a 12-byte
// core header (rebuilt as a 40-byte one, its colours widened to 4 bytes), 1, 4, 8, 16, 24 or
// 32 bits per pixel, uncompressed (either row order), run-length encoded or bit-field rows.
// Anything else, and any part that would lie beyond the end of the bytes, gives none.
std::optional<DibImage> ReadBitmap(const std::uint8_t* data, std::size_t size);

// Reads the whole file (none when it cannot be opened or is larger than kMaxBitmapFileSize).
std::optional<DibImage> LoadBitmapFile(const std::string& path);

}  // namespace vesk
