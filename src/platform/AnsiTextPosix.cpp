// Native builds have no system code page: they encode for code page 1252, so tests and tools
// see the Western Windows result.
#include "platform/AnsiText.h"
#include "platform/Windows1252.h"

namespace vesk {
namespace {

constexpr std::uint32_t kAsciiEnd = 0x80;
constexpr std::uint32_t kLatin1Start = 0xA0;  // from here on code page 1252 is Latin-1
constexpr std::uint32_t kLatin1End = 0x100;

std::string EncodeWindows1252(std::uint32_t codePoint) {
    if (codePoint < kAsciiEnd || (codePoint >= kLatin1Start && codePoint < kLatin1End)) {
        return std::string(1, char(codePoint));
    }
    for (unsigned byte = 0x80; byte <= 0x9F; ++byte) {
        if (Windows1252HighControl(static_cast<unsigned char>(byte)) == codePoint) {
            return std::string(1, char(byte));
        }
    }
    return {};
}

}  // namespace

CodePointEncoder AnsiEncoder() {
    return EncodeWindows1252;
}

}  // namespace vesk
