// UTF-8 and UTF-16 conversions with U+FFFD for whatever forms no character.
#include "platform/Utf8.h"

namespace vesk {
namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kFirstLowSurrogate = 0xDC00;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr char32_t kFirstSupplementary = 0x10000;

bool IsSurrogate(char32_t point) {
    return point >= kFirstSurrogate && point <= kLastSurrogate;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

bool NextUtf8CodePoint(const std::string& text, std::size_t& at, char32_t& point) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const std::size_t start = at++;
    if (lead < 0x80) {
        point = lead;
        return true;
    }
    std::size_t length;
    char32_t smallest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, smallest = 0x80, point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, smallest = 0x800, point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, smallest = kFirstSupplementary, point = lead & 0x07;
    } else {
        return false;
    }
    if (text.size() - start < length) return false;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[start + i]);
        if (!IsContinuation(next)) return false;
        point = point << 6 | (next & 0x3F);
    }
    if (point < smallest || point > kLastCodePoint || IsSurrogate(point)) return false;
    at = start + length;
    return true;
}

void AppendUtf8(std::string& out, char32_t point) {
    if (point > kLastCodePoint || IsSurrogate(point)) point = kReplacementCharacter;
    if (point < 0x80) {
        out += char(point);
    } else if (point < 0x800) {
        out += char(0xC0 | point >> 6);
        out += char(0x80 | (point & 0x3F));
    } else if (point < kFirstSupplementary) {
        out += char(0xE0 | point >> 12);
        out += char(0x80 | (point >> 6 & 0x3F));
        out += char(0x80 | (point & 0x3F));
    } else {
        out += char(0xF0 | point >> 18);
        out += char(0x80 | (point >> 12 & 0x3F));
        out += char(0x80 | (point >> 6 & 0x3F));
        out += char(0x80 | (point & 0x3F));
    }
}

bool StripUtf8ByteOrderMark(std::string& text) {
    if (text.compare(0, sizeof kUtf8ByteOrderMark - 1, kUtf8ByteOrderMark) != 0) return false;
    text.erase(0, sizeof kUtf8ByteOrderMark - 1);
    return true;
}

bool IsUtf8(const std::string& text) {
    char32_t point;
    for (std::size_t at = 0; at < text.size();) {
        if (!NextUtf8CodePoint(text, at, point)) return false;
    }
    return true;
}

std::string SanitizeUtf8(const std::string& text) {
    if (IsUtf8(text)) return text;
    std::string out;
    out.reserve(text.size() + 8);
    char32_t point;
    for (std::size_t at = 0; at < text.size();) {
        AppendUtf8(out, NextUtf8CodePoint(text, at, point) ? point : kReplacementCharacter);
    }
    return out;
}

std::u16string Utf8ToUtf16(const std::string& utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    char32_t point;
    for (std::size_t at = 0; at < utf8.size();) {
        if (!NextUtf8CodePoint(utf8, at, point)) point = kReplacementCharacter;
        if (point >= kFirstSupplementary) {
            const char32_t offset = point - kFirstSupplementary;
            out += char16_t(kFirstSurrogate + (offset >> 10));
            out += char16_t(kFirstLowSurrogate + (offset & 0x3FF));
        } else {
            out += char16_t(point);
        }
    }
    return out;
}

std::string Utf16ToUtf8(const char16_t* units, std::size_t count) {
    std::string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char32_t point = units[i];
        if (IsSurrogate(point)) {
            const bool paired = point < kFirstLowSurrogate && i + 1 < count &&
                                units[i + 1] >= kFirstLowSurrogate &&
                                units[i + 1] <= kLastSurrogate;
            if (paired) {
                point = kFirstSupplementary + ((point - kFirstSurrogate) << 10) +
                        (units[++i] - kFirstLowSurrogate);
            } else {
                point = kReplacementCharacter;
            }
        }
        AppendUtf8(out, point);
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& utf16) {
    return Utf16ToUtf8(utf16.data(), utf16.size());
}

}  // namespace vesk
