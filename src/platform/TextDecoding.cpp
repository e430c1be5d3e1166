// ASCII and UTF-8 need no converter; other code pages go to the system's.
#include "platform/TextDecoding.h"

#include "platform/Utf8.h"

namespace vesk {
namespace {

bool IsAscii(const std::string& bytes) {
    for (char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80) return false;
    }
    return true;
}

}  // namespace

std::string DecodeToUtf8(const std::string& bytes, unsigned codePage) {
    if (IsAscii(bytes)) return bytes;
    if (codePage == kUtf8CodePage) return SanitizeUtf8(bytes);
    return SanitizeUtf8(DecodeWithSystem(bytes, codePage));
}

}  // namespace vesk
