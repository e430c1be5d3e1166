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

// The window calls the engine makes with its own texts.
inline int MessageBoxUtf8(HWND owner, const std::string& text, const std::string& caption,
                          UINT flags) {
    return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), flags);
}

inline bool SetWindowTextUtf8(HWND window, const std::string& text) {
    return SetWindowTextW(window, Wide(text).c_str()) != 0;
}

inline std::string WindowTextUtf8(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return std::string();
    std::wstring text(std::size_t(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, &text[0], length + 1);
    return copied > 0 ? Narrow(text.data(), std::size_t(copied)) : std::string();
}

}  // namespace vesk
