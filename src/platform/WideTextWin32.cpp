// Project text to UTF-16 with the system's converter for code page 936.
#include <windows.h>

#include "platform/WideText.h"

namespace vesk {

bool ProjectTextToUtf16(const std::string& text, std::u16string& wide) {
    wide.clear();
    if (text.empty()) return true;
    constexpr UINT kGb2312 = 936;
    int length = MultiByteToWideChar(kGb2312, MB_ERR_INVALID_CHARS, text.data(), int(text.size()),
                                     nullptr, 0);
    if (length <= 0) return false;
    std::wstring buffer(std::size_t(length), L'\0');
    MultiByteToWideChar(kGb2312, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), &buffer[0],
                        length);
    wide.assign(buffer.begin(), buffer.end());
    return true;
}

}  // namespace vesk
