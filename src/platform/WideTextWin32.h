// The seam's two conversions: the engine's UTF-8 texts to the UTF-16 the W functions take, and
// the UTF-16 they give back to UTF-8. Neither fails; what forms no character becomes U+FFFD.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Utf8.h"

namespace vesk {

// UTF-16 as the W functions take it: a std::u16string seen as wchar_t (both are 16 bits on
// Windows). Not a WideText, which libstdc++ instantiates in objects of its own that would come
// into the stub whole.
class WideText : public std::u16string {
public:
    WideText() = default;
    WideText(std::u16string text) : std::u16string(std::move(text)) {}
    WideText(std::size_t count, wchar_t unit) : std::u16string(count, char16_t(unit)) {}
    WideText(const wchar_t* units, std::size_t count)
        : std::u16string(reinterpret_cast<const char16_t*>(units), count) {}
    WideText(const wchar_t* units) : WideText(units, wcslen(units)) {}

    const wchar_t* c_str() const { return reinterpret_cast<const wchar_t*>(u16().c_str()); }
    const wchar_t* data() const { return c_str(); }
    wchar_t* data() { return reinterpret_cast<wchar_t*>(&u16()[0]); }
    wchar_t& operator[](std::size_t i) { return reinterpret_cast<wchar_t&>(u16()[i]); }
    wchar_t operator[](std::size_t i) const { return wchar_t(u16()[i]); }
    int compare(std::size_t at, std::size_t count, const wchar_t* units) const {
        return u16().compare(at, count, reinterpret_cast<const char16_t*>(units));
    }
    WideText substr(std::size_t at, std::size_t count = npos) const {
        return WideText(u16().substr(at, count));
    }

private:
    std::u16string& u16() { return *this; }
    const std::u16string& u16() const { return *this; }
};

inline WideText operator+(const wchar_t* prefix, const WideText& text) {
    WideText joined(prefix);
    joined.append(text);
    return joined;
}

inline WideText Wide(const std::string& utf8) {
    return WideText(Utf8ToUtf16(utf8));
}

inline std::string Narrow(const wchar_t* units, std::size_t count) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(units), count);
}

inline std::string Narrow(const wchar_t* units) {
    return Narrow(units, units ? wcslen(units) : 0);
}

inline std::string Narrow(const WideText& wide) {
    return Utf16ToUtf8(wide);
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
    WideText text(std::size_t(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, &text[0], length + 1);
    return copied > 0 ? Narrow(text.data(), std::size_t(copied)) : std::string();
}

}  // namespace vesk
