// Code pages decoded by the system's own converter.
#include <windows.h>

#include "platform/TextDecoding.h"
#include "platform/Utf8.h"

namespace vesk {

std::string DecodeWithSystem(const std::string& bytes, unsigned codePage) {
    const UINT page = codePage == kAnsiCodePage ? CP_ACP : UINT(codePage);
    const int size = int(bytes.size());
    const int units = MultiByteToWideChar(page, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0) return std::string(bytes.size(), '?');
    std::u16string wide(std::size_t(units), u'\0');
    MultiByteToWideChar(page, 0, bytes.data(), size, reinterpret_cast<LPWSTR>(&wide[0]), units);
    return Utf16ToUtf8(wide);
}

}  // namespace vesk
