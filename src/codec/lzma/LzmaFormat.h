// The layout of one LZMA body, which the decoder reads and the encoder writes.
//
// LZMA body (the SDK's .lzma layout, so standard tools read one cut out of a set):
//   0   properties   5 bytes: (pb * 5 + lp) * 9 + lc, then the dictionary size (u32 LE)
//   5   file length  u64 LE; all ones: unknown, the data then ends with the end marker
//   13  LZMA data    up to the body's stored size, nothing after it
//   The engine decodes with a dictionary of the stated size and refuses, as damage, a body whose
//   dictionary passes kMaxLzmaDictionary or whose lc + lp passes kMaxLzmaLiteralBits (which bound
//   its memory), data the decoder rejects, a body that ends before its file does, and bytes after
//   the data's end. The builder gives every body of a set the same properties.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesk {

constexpr std::size_t kLzmaPropertiesSize = 5;
constexpr std::size_t kLzmaHeaderSize = kLzmaPropertiesSize + 8;
constexpr std::uint64_t kLzmaUnknownLength = ~std::uint64_t(0);
constexpr std::uint32_t kMaxLzmaDictionary = 64u << 20;
constexpr unsigned kMaxLzmaLiteralBits = 4;  // lc + lp; 12 KiB of literal probabilities at most

}  // namespace vesk
