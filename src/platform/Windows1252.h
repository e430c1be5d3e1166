// Code page 1252, the Western ANSI code page: the characters of its bytes 0x80..0x9F, where it
// differs from Latin-1. HTML reads numeric references in that range the same way.
#pragma once

#include <cstdint>

namespace vesk {

// The character of byte 0x80..0x9F in code page 1252; 0 for the five bytes it leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) and for bytes outside the range.
std::uint32_t Windows1252HighControl(unsigned char byte);

}  // namespace vesk
