// Turns Unicode characters into bytes of the ANSI code page, the one the engine's texts and
// controls use (the A variants of the Windows API).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vesk {

// Converts a character (Unicode code point) to bytes of the ANSI code page; empty when the code
// page cannot hold it. Never returns a best-fit look-alike: the caller picks its own stand-in.
using CodePointEncoder = std::function<std::string(std::uint32_t codePoint)>;

// The running system's ANSI code page on Windows; natively code page 1252.
CodePointEncoder AnsiEncoder();

}  // namespace vesk
