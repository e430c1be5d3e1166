// The system's ANSI code page encodes: WideCharToMultiByte without best-fit look-alikes, so a
// character the code page lacks comes back empty instead of as a wrong letter.
#include <windows.h>

#include "platform/AnsiText.h"

namespace vesk {
namespace {

constexpr std::uint32_t kLastCodePoint = 0x10FFFF;
constexpr std::uint32_t kFirstSupplementary = 0x10000;
constexpr std::uint32_t kFirstSurrogate = 0xD800;
constexpr std::uint32_t kLastSurrogate = 0xDFFF;
constexpr std::uint32_t kLowSurrogate = 0xDC00;
// Longest character any code page writes (UTF-8 as the ANSI code page: four bytes).
constexpr int kMaxCharBytes = 8;

std::string Encode(UINT codePage, std::uint32_t codePoint) {
    if (codePoint > kLastCodePoint ||
        (codePoint >= kFirstSurrogate && codePoint <= kLastSurrogate)) {
        return {};
    }
    WCHAR wide[2];
    int units = 1;
    if (codePoint >= kFirstSupplementary) {
        const std::uint32_t offset = codePoint - kFirstSupplementary;
        wide[0] = WCHAR(kFirstSurrogate + (offset >> 10));
        wide[1] = WCHAR(kLowSurrogate + (offset & 0x3FF));
        units = 2;
    } else {
        wide[0] = WCHAR(codePoint);
    }
    char bytes[kMaxCharBytes];
    int length = 0;
    if (codePage == CP_UTF8) {
        // UTF-8 holds every character, and refuses the flags and the default-character test.
        length =
            WideCharToMultiByte(codePage, 0, wide, units, bytes, sizeof bytes, nullptr, nullptr);
    } else {
        BOOL usedDefault = FALSE;
        length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, units, bytes,
                                     sizeof bytes, nullptr, &usedDefault);
        if (usedDefault) return {};
    }
    if (length <= 0) return {};
    return std::string(bytes, std::size_t(length));
}

}  // namespace

CodePointEncoder AnsiEncoder() {
    const UINT codePage = GetACP();
    return [codePage](std::uint32_t codePoint) { return Encode(codePage, codePoint); };
}

}  // namespace vesk
