// Escaping for the terminal.
#include "builder/veskbuild/TerminalText.h"

#include <cstdint>
#include <cstdio>

#include "builder/reading/CodePageText.h"
#include "builder/veskbuild/ConsoleText.h"

namespace vesk::tool {
namespace {

std::string HexByte(unsigned char c) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", c);
    return text;
}

// Length of the UTF-8 character at `at` and its code point; 0 for a malformed one.
std::size_t DecodeAt(const std::string& text, std::size_t at, std::uint32_t& point) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (at + length > text.size() || !IsUtf8(text.substr(at, length))) return 0;
    point = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) point = point << 6 | (text[at + i] & 0x3F);
    return length;
}

bool IsFormatControl(std::uint32_t point) {
    return (point >= 0x80 && point <= 0x9F) || point == 0x2028 || point == 0x2029 ||
           (point >= 0x202A && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069);
}

}  // namespace

std::string EscapeControls(const std::string& text, bool utf8) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (c < 0x20 || c == 0x7F) {
            out += HexByte(c);
            ++at;
            continue;
        }
        if (!utf8 || c < 0x80) {
            out += char(c);
            ++at;
            continue;
        }
        std::uint32_t point = 0;
        const std::size_t length = DecodeAt(text, at, point);
        if (length == 0) {
            out += HexByte(c);
            ++at;
        } else if (IsFormatControl(point)) {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\u{%04X}", unsigned(point));
            out += escaped;
            at += length;
        } else {
            out += text.substr(at, length);
            at += length;
        }
    }
    return out;
}

std::string ForTerminal(const std::string& ansiText) {
    return EscapeControls(ForConsole(ansiText), ConsoleSpeaksUtf8());
}

std::string MessageForTerminal(const std::string& message) {
    if (ConsoleSpeaksUtf8() && IsUtf8(message)) return EscapeControls(message, true);
    return ForTerminal(message);
}

}  // namespace vesk::tool
