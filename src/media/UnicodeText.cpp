// UTF-8 and UTF-16 reading, encoding guesses and ASCII stand-ins for the document converter.
#include "media/UnicodeText.h"

#include <algorithm>
#include <iterator>

namespace vesk {
namespace {

constexpr std::uint32_t kLastCodePoint = 0x10FFFF;
constexpr std::uint32_t kFirstSurrogate = 0xD800;
constexpr std::uint32_t kFirstLowSurrogate = 0xDC00;
constexpr std::uint32_t kLastSurrogate = 0xDFFF;
// How much of a document the UTF-16 guesses look at.
constexpr std::size_t kSniffBytes = 1024;

// Length of the UTF-8 sequence `lead` opens, 0 when it opens none.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Decodes the sequence at `pos`; returns its length, or 0 when it is malformed (overlong,
// surrogate, beyond U+10FFFF or cut short).
int DecodeSequence(const std::string& text, std::size_t pos, std::uint32_t& codePoint) {
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    const int length = SequenceLength(lead);
    if (length == 0 || text.size() - pos < std::size_t(length)) return 0;
    if (length == 1) {
        codePoint = lead;
        return 1;
    }
    std::uint32_t value = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[length] || value > kLastCodePoint ||
        (value >= kFirstSurrogate && value <= kLastSurrogate)) {
        return 0;
    }
    codePoint = value;
    return length;
}

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += char(codePoint);
    } else if (codePoint < 0x800) {
        out += char(0xC0 | (codePoint >> 6));
        out += char(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += char(0xE0 | (codePoint >> 12));
        out += char(0x80 | ((codePoint >> 6) & 0x3F));
        out += char(0x80 | (codePoint & 0x3F));
    } else {
        out += char(0xF0 | (codePoint >> 18));
        out += char(0x80 | ((codePoint >> 12) & 0x3F));
        out += char(0x80 | ((codePoint >> 6) & 0x3F));
        out += char(0x80 | (codePoint & 0x3F));
    }
}

// Letters of U+0100..U+017F without their marks (the ligatures IJ and OE are completed below).
constexpr char kLatinExtendedBase[] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSs"
    "SsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(sizeof kLatinExtendedBase == 0x80 + 1, "one letter per character of U+0100..U+017F");

// Stand-ins for U+00A0..U+00FF.
constexpr const char* kLatin1Fallback[0x60] = {
    " ",   "!",   "c",   "GBP", "?", "JPY", "|",  "S",  "\"", "(c)", "a",  "<<", "-", "",
    "(R)", "-",   "deg", "+/-", "2", "3",   "'",  "u",  "P",  ".",   ",",  "1",  "o", ">>",
    "1/4", "1/2", "3/4", "?",   "A", "A",   "A",  "A",  "A",  "A",   "AE", "C",  "E", "E",
    "E",   "E",   "I",   "I",   "I", "I",   "D",  "N",  "O",  "O",   "O",  "O",  "O", "x",
    "O",   "U",   "U",   "U",   "U", "Y",   "TH", "ss", "a",  "a",   "a",  "a",  "a", "a",
    "ae",  "c",   "e",   "e",   "e", "e",   "i",  "i",  "i",  "i",   "d",  "n",  "o", "o",
    "o",   "o",   "o",   "/",   "o", "u",   "u",  "u",  "u",  "y",   "th", "y",
};

struct Fallback {
    std::uint32_t codePoint;
    const char* text;
};

// Stand-ins beyond Latin-1, sorted by code point.
constexpr Fallback kFallbacks[] = {
    {0x0192, "f"},   {0x02C6, "^"},  {0x02DC, "~"},    {0x2010, "-"},   {0x2011, "-"},
    {0x2012, "-"},   {0x2013, "-"},  {0x2014, "--"},   {0x2015, "--"},  {0x2016, "||"},
    {0x2017, "_"},   {0x2018, "'"},  {0x2019, "'"},    {0x201A, "'"},   {0x201B, "'"},
    {0x201C, "\""},  {0x201D, "\""}, {0x201E, "\""},   {0x201F, "\""},  {0x2020, "+"},
    {0x2021, "+"},   {0x2022, "*"},  {0x2023, "*"},    {0x2024, "."},   {0x2025, ".."},
    {0x2026, "..."}, {0x2027, "-"},  {0x2030, "0/00"}, {0x2032, "'"},   {0x2033, "\""},
    {0x2039, "<"},   {0x203A, ">"},  {0x2044, "/"},    {0x20AC, "EUR"}, {0x2122, "(TM)"},
    {0x2190, "<-"},  {0x2192, "->"}, {0x2194, "<->"},  {0x21D0, "<="},  {0x21D2, "=>"},
    {0x21D4, "<=>"}, {0x2212, "-"},  {0x2215, "/"},    {0x2217, "*"},   {0x2219, "."},
    {0x223C, "~"},   {0x2248, "~"},  {0x2260, "!="},   {0x2264, "<="},  {0x2265, ">="},
    {0x22C5, "."},   {0x25AA, "*"},  {0x25CF, "*"},    {0x25E6, "o"},
};

bool IsSpaceCharacter(std::uint32_t codePoint) {
    return (codePoint >= 0x2000 && codePoint <= 0x200A) || codePoint == 0x202F ||
           codePoint == 0x205F || codePoint == 0x3000;
}

constexpr std::uint32_t kFirstFullwidth = 0xFF01;
constexpr std::uint32_t kLastFullwidth = 0xFF5E;
constexpr std::uint32_t kFullwidthOffset = 0xFEE0;

}  // namespace

std::uint32_t ReadCharacter(const std::string& text, std::size_t& pos, bool utf8) {
    const unsigned char byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
        ++pos;
        return byte;
    }
    if (!utf8) {
        ++pos;
        return kRawByte | byte;
    }
    std::uint32_t codePoint = 0;
    const int length = DecodeSequence(text, pos, codePoint);
    if (length == 0) {
        ++pos;
        return kReplacementCharacter;
    }
    pos += std::size_t(length);
    return codePoint;
}

bool LooksLikeUtf8(const std::string& text) {
    bool beyondAscii = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::uint32_t codePoint = 0;
        const int length = DecodeSequence(text, pos, codePoint);
        if (length == 0) return false;
        beyondAscii = beyondAscii || length > 1;
        pos += std::size_t(length);
    }
    return beyondAscii;
}

std::string Utf16ToUtf8(const std::string& text, Utf16Order order) {
    auto unitAt = [&](std::size_t at) {
        const unsigned first = static_cast<unsigned char>(text[at]);
        const unsigned second = static_cast<unsigned char>(text[at + 1]);
        return order == Utf16Order::LittleEndian ? first | (second << 8) : (first << 8) | second;
    };
    std::string out;
    out.reserve(text.size());
    const std::size_t units = text.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t unit = unitAt(i * 2);
        if (unit >= kFirstSurrogate && unit < kFirstLowSurrogate && i + 1 < units) {
            const std::uint32_t low = unitAt(i * 2 + 2);
            if (low >= kFirstLowSurrogate && low <= kLastSurrogate) {
                unit = 0x10000 + ((unit - kFirstSurrogate) << 10) + (low - kFirstLowSurrogate);
                ++i;
            }
        }
        if (unit >= kFirstSurrogate && unit <= kLastSurrogate) unit = kReplacementCharacter;
        AppendUtf8(out, unit);
    }
    return out;
}

Utf16Order GuessUtf16Order(const std::string& text) {
    std::size_t zeroEven = 0;
    std::size_t zeroOdd = 0;
    const std::size_t end = std::min(text.size(), kSniffBytes);
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] != 0) continue;
        (i % 2 == 0 ? zeroEven : zeroOdd) += 1;
    }
    return zeroEven > zeroOdd ? Utf16Order::BigEndian : Utf16Order::LittleEndian;
}

bool StartsLikeUtf16(const std::string& text) {
    if (text.size() < 4) return false;
    auto isAsciiMark = [](char c) {
        return c == '<' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    const bool little = isAsciiMark(text[0]) && text[1] == 0 && text[2] != 0 && text[3] == 0;
    const bool big = text[0] == 0 && isAsciiMark(text[1]) && text[2] == 0 && text[3] != 0;
    return little || big;
}

bool IsInvisibleCharacter(std::uint32_t codePoint) {
    if (codePoint == '\t' || codePoint == '\n' || codePoint == '\r') return false;
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0) || codePoint == 0xAD ||
           (codePoint >= 0x200B && codePoint <= 0x200F) ||
           (codePoint >= 0x202A && codePoint <= 0x202E) ||
           (codePoint >= 0x2060 && codePoint <= 0x2064) || codePoint == 0xFEFF;
}

std::string AsciiFallback(std::uint32_t codePoint) {
    if (codePoint < 0x80) return std::string(1, char(codePoint));
    if (codePoint >= 0xA0 && codePoint < 0x100) return kLatin1Fallback[codePoint - 0xA0];
    if (codePoint >= 0x100 && codePoint < 0x180) {
        if (codePoint == 0x132) return "IJ";
        if (codePoint == 0x133) return "ij";
        if (codePoint == 0x152) return "OE";
        if (codePoint == 0x153) return "oe";
        return std::string(1, kLatinExtendedBase[codePoint - 0x100]);
    }
    if (IsSpaceCharacter(codePoint)) return " ";
    if (codePoint >= kFirstFullwidth && codePoint <= kLastFullwidth) {
        return std::string(1, char(codePoint - kFullwidthOffset));
    }
    const auto found =
        std::lower_bound(std::begin(kFallbacks), std::end(kFallbacks), codePoint,
                         [](const Fallback& f, std::uint32_t cp) { return f.codePoint < cp; });
    if (found != std::end(kFallbacks) && found->codePoint == codePoint) return found->text;
    return "?";
}

}  // namespace vesk
