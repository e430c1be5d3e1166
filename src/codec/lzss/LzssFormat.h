// The LZSS stream format, which the decoder reads and the encoder writes.
//
// LZSS stream (every body of an LZSS set but raw ones, and the project section of every set):
//   * groups of one flag byte followed by up to eight tokens; flag bits are read least
//     significant first, 1 = literal (one byte), 0 = reference (two bytes b1 b2);
//   * reference: window position = b1 | (b2 & 0xF0) << 4, length = (b2 & 0x0F) + 3 (3..18);
//   * a 4096-byte ring window, positions 0..4077 filled with spaces before each body, first
//     write position 4078; every output byte is also written to the ring, and a reference copies
//     byte by byte so that it may overlap the bytes it produces;
//   * no length field and no end marker: decoding stops when the body's stored size is consumed,
//     also inside a group or after the first byte of a reference (which is then dropped).
//   A stream yields at most 8.5 bytes per stream byte (144 from a group of 17); the project
//   section and the language file are refused when they decode to more than their bounds
//   (container/ContainerFormat.h).
#pragma once

#include <cstdint>

namespace vesk {

constexpr int kLzssWindowSize = 4096;
constexpr int kLzssMaxMatch = 18;
constexpr int kLzssMinMatch = 3;  // references carry (length - 3) in four bits
constexpr int kLzssFirstWritePos = kLzssWindowSize - kLzssMaxMatch;  // 4078
constexpr std::uint8_t kLzssFillByte = 0x20;

}  // namespace vesk
