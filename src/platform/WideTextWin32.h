// The seam's two conversions: the engine's UTF-8 texts to the UTF-16 the W functions take, and
// the UTF-16 they give back to UTF-8. Neither fails; what forms no character becomes U+FFFD.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Utf8.h"

namespace vesk {

inline std::wstring Wide(const std::string& utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

inline std::string Narrow(const wchar_t* units, std::size_t count) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(units), count);
}

inline std::string Narrow(const wchar_t* units) {
    return Narrow(units, units ? wcslen(units) : 0);
}

inline std::string Narrow(const std::wstring& wide) {
    return Narrow(wide.data(), wide.size());
}

}  // namespace vesk
