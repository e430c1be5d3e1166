// Wine's escapes and value forms, read back.
#include "builder/trial/WineText.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "media/UnicodeText.h"

namespace vesk::trial {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendUnit(std::string& utf16, std::uint32_t unit) {
    utf16 += char(unit & 0xFF);
    utf16 += char((unit >> 8) & 0xFF);
}

// The character a letter escape stands for; 0 when the letter is none.
char LetterEscape(char letter) {
    switch (letter) {
        case 'a':
            return '\a';
        case 'b':
            return '\b';
        case 't':
            return '\t';
        case 'n':
            return '\n';
        case 'v':
            return '\v';
        case 'f':
            return '\f';
        case 'r':
            return '\r';
        case 'e':
            return '\x1B';
        default:
            return 0;
    }
}

// The bytes of a hex list ("01,02,ff"); false when it holds anything else.
bool HexBytes(std::string_view list, std::string& bytes) {
    std::size_t i = 0;
    while (i < list.size()) {
        if (i + 1 >= list.size()) return false;
        const int high = HexDigit(list[i]), low = HexDigit(list[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes += char(high * 16 + low);
        i += 2;
        if (i < list.size() && list[i++] != ',') return false;
    }
    return true;
}

std::string TypeName(unsigned type) {
    static const char* const kNames[] = {"REG_NONE",
                                         "REG_SZ",
                                         "REG_EXPAND_SZ",
                                         "REG_BINARY",
                                         "REG_DWORD",
                                         "REG_DWORD_BIG_ENDIAN",
                                         "REG_LINK",
                                         "REG_MULTI_SZ",
                                         "REG_RESOURCE_LIST",
                                         "REG_FULL_RESOURCE_DESCRIPTOR",
                                         "REG_RESOURCE_REQUIREMENTS_LIST",
                                         "REG_QWORD"};
    if (type < sizeof kNames / sizeof kNames[0]) return kNames[type];
    char name[32];
    std::snprintf(name, sizeof name, "type %u", type);
    return name;
}

// "a", "b": the items of a list of strings separated by NULs (the last one ends it).
std::string ListItems(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\0', start);
        if (end == std::string::npos) end = text.size();
        if (end == start && end + 1 >= text.size()) break;
        if (!out.empty()) out += ", ";
        out += '"' + text.substr(start, end - start) + '"';
        start = end + 1;
    }
    return out;
}

std::string WithoutLastNul(std::string text) {
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

std::string Number(std::uint64_t value, int hexDigits) {
    char text[64];
    std::snprintf(text, sizeof text, "%llu (0x%0*llx)", static_cast<unsigned long long>(value),
                  hexDigits, static_cast<unsigned long long>(value));
    return text;
}

std::string HexPairs(const std::string& bytes) {
    std::string out;
    char pair[4];
    for (std::size_t i = 0; i < bytes.size() && i < kShownBytes; ++i) {
        std::snprintf(pair, sizeof pair, "%s%02x", i ? " " : "", unsigned(std::uint8_t(bytes[i])));
        out += pair;
    }
    if (bytes.size() > kShownBytes) out += " ... (" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

std::uint64_t LittleEndianNumber(const std::string& bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) value = (value << 8) | std::uint8_t(bytes[i]);
    return value;
}

// The view of `bytes` stored as `type`.
ValueView ViewBytes(unsigned type, const std::string& bytes) {
    ValueView view{TypeName(type), {}};
    switch (type) {
        case 1:
        case 2:
            view.text = WithoutLastNul(Utf16ToUtf8(bytes, Utf16Order::LittleEndian));
            break;
        case 7:
            view.text = ListItems(Utf16ToUtf8(bytes, Utf16Order::LittleEndian));
            break;
        case 4:
        case 11:
            if (bytes.size() == (type == 4 ? 4u : 8u)) {
                view.text = Number(LittleEndianNumber(bytes), int(bytes.size() * 2));
                break;
            }
            [[fallthrough]];
        default:
            view.text = HexPairs(bytes);
    }
    return view;
}

// The text between the quotes of `data` ("..." with escapes); false when it is not quoted.
bool QuotedText(std::string_view data, std::string& text) {
    if (data.size() < 2 || data.front() != '"' || data.back() != '"') return false;
    text = UnescapeWineText(data.substr(1, data.size() - 2));
    return true;
}

// The N of "str(N):" or "hex(N):" at the start of `data` (hex digits), and where the rest
// starts; false when `data` does not start with `prefix` "(" N "):".
bool TypedPrefix(std::string_view data, std::string_view prefix, unsigned& type,
                 std::size_t& rest) {
    if (data.substr(0, prefix.size()) != prefix || data.size() <= prefix.size() ||
        data[prefix.size()] != '(') {
        return false;
    }
    std::size_t i = prefix.size() + 1;
    type = 0;
    std::size_t digits = 0;
    for (; i < data.size() && HexDigit(data[i]) >= 0 && digits < 8; ++i, ++digits) {
        type = type * 16 + unsigned(HexDigit(data[i]));
    }
    if (digits == 0 || data.substr(i, 2) != "):") return false;
    rest = i + 2;
    return true;
}

}  // namespace

std::string UnescapeWineText(std::string_view text) {
    std::string utf16;
    utf16.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c != '\\' || i + 1 == text.size()) {
            // Wine writes everything beyond ASCII as \x escapes; a stray byte is taken as Latin-1.
            AppendUnit(utf16, c);
            continue;
        }
        const char next = text[++i];
        if (next == 'x' && i + 1 < text.size() && HexDigit(text[i + 1]) >= 0) {
            std::uint32_t unit = 0;
            for (int n = 0; n < 4 && i + 1 < text.size() && HexDigit(text[i + 1]) >= 0; ++n) {
                unit = unit * 16 + std::uint32_t(HexDigit(text[++i]));
            }
            AppendUnit(utf16, unit);
        } else if (next >= '0' && next <= '7') {
            std::uint32_t unit = std::uint32_t(next - '0');
            for (int n = 1;
                 n < 3 && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '7'; ++n) {
                unit = unit * 8 + std::uint32_t(text[++i] - '0');
            }
            AppendUnit(utf16, unit);
        } else if (char letter = LetterEscape(next)) {
            AppendUnit(utf16, static_cast<unsigned char>(letter));
        } else {
            AppendUnit(utf16, static_cast<unsigned char>(next));
        }
    }
    return Utf16ToUtf8(utf16, Utf16Order::LittleEndian);
}

ValueView ViewValue(std::string_view data) {
    std::string text;
    if (QuotedText(data, text)) return {"REG_SZ", text};
    unsigned type = 0;
    std::size_t rest = 0;
    if (TypedPrefix(data, "str", type, rest) && QuotedText(data.substr(rest), text)) {
        ValueView view{TypeName(type), text};
        if (type == 7) view.text = ListItems(text);
        return view;
    }
    if (data.substr(0, 6) == "dword:" && data.size() == 14) {
        std::string bytes;
        for (std::size_t i = 12; i >= 6; i -= 2) {
            if (!HexBytes(data.substr(i, 2), bytes)) return {"REG_DWORD", std::string(data)};
        }
        return {"REG_DWORD", Number(LittleEndianNumber(bytes), 8)};
    }
    std::string bytes;
    if (data.substr(0, 4) == "hex:" && HexBytes(data.substr(4), bytes)) {
        return ViewBytes(3, bytes);
    }
    if (TypedPrefix(data, "hex", type, rest) && HexBytes(data.substr(rest), bytes)) {
        return ViewBytes(type, bytes);
    }
    return {"unknown", std::string(data)};
}

}  // namespace vesk::trial
