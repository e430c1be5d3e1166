// The HTML 4 entity table, sorted by name for binary search, and the reference reader.
#include "media/HtmlEntities.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "media/UnicodeText.h"
#include "platform/Windows1252.h"

namespace vesk {
namespace {

// The longest name in the table; a longer run of letters is no name of ours.
constexpr std::size_t kLongestName = 8;

// Names held in the rows themselves: no pointer per row, so no relocation either.
struct Entity {
    char name[kLongestName + 1];
    bool legacy;  // recognised without its ';'
    std::uint16_t codePoint;
};

// Sorted by name in byte order (capitals first).
constexpr Entity kEntities[] = {
    {"AElig", true, 0x00C6},    {"AMP", true, 0x0026},      {"Aacute", true, 0x00C1},
    {"Acirc", true, 0x00C2},    {"Agrave", true, 0x00C0},   {"Alpha", false, 0x0391},
    {"Aring", true, 0x00C5},    {"Atilde", true, 0x00C3},   {"Auml", true, 0x00C4},
    {"Beta", false, 0x0392},    {"COPY", true, 0x00A9},     {"Ccedil", true, 0x00C7},
    {"Chi", false, 0x03A7},     {"Dagger", false, 0x2021},  {"Delta", false, 0x0394},
    {"ETH", true, 0x00D0},      {"Eacute", true, 0x00C9},   {"Ecirc", true, 0x00CA},
    {"Egrave", true, 0x00C8},   {"Epsilon", false, 0x0395}, {"Eta", false, 0x0397},
    {"Euml", true, 0x00CB},     {"GT", true, 0x003E},       {"Gamma", false, 0x0393},
    {"Iacute", true, 0x00CD},   {"Icirc", true, 0x00CE},    {"Igrave", true, 0x00CC},
    {"Iota", false, 0x0399},    {"Iuml", true, 0x00CF},     {"Kappa", false, 0x039A},
    {"LT", true, 0x003C},       {"Lambda", false, 0x039B},  {"Mu", false, 0x039C},
    {"Ntilde", true, 0x00D1},   {"Nu", false, 0x039D},      {"OElig", false, 0x0152},
    {"Oacute", true, 0x00D3},   {"Ocirc", true, 0x00D4},    {"Ograve", true, 0x00D2},
    {"Omega", false, 0x03A9},   {"Omicron", false, 0x039F}, {"Oslash", true, 0x00D8},
    {"Otilde", true, 0x00D5},   {"Ouml", true, 0x00D6},     {"Phi", false, 0x03A6},
    {"Pi", false, 0x03A0},      {"Prime", false, 0x2033},   {"Psi", false, 0x03A8},
    {"QUOT", true, 0x0022},     {"REG", true, 0x00AE},      {"Rho", false, 0x03A1},
    {"Scaron", false, 0x0160},  {"Sigma", false, 0x03A3},   {"THORN", true, 0x00DE},
    {"Tau", false, 0x03A4},     {"Theta", false, 0x0398},   {"Uacute", true, 0x00DA},
    {"Ucirc", true, 0x00DB},    {"Ugrave", true, 0x00D9},   {"Upsilon", false, 0x03A5},
    {"Uuml", true, 0x00DC},     {"Xi", false, 0x039E},      {"Yacute", true, 0x00DD},
    {"Yuml", false, 0x0178},    {"Zeta", false, 0x0396},    {"aacute", true, 0x00E1},
    {"acirc", true, 0x00E2},    {"acute", true, 0x00B4},    {"aelig", true, 0x00E6},
    {"agrave", true, 0x00E0},   {"alefsym", false, 0x2135}, {"alpha", false, 0x03B1},
    {"amp", true, 0x0026},      {"and", false, 0x2227},     {"ang", false, 0x2220},
    {"apos", false, 0x0027},    {"aring", true, 0x00E5},    {"asymp", false, 0x2248},
    {"atilde", true, 0x00E3},   {"auml", true, 0x00E4},     {"bdquo", false, 0x201E},
    {"beta", false, 0x03B2},    {"brvbar", true, 0x00A6},   {"bull", false, 0x2022},
    {"cap", false, 0x2229},     {"ccedil", true, 0x00E7},   {"cedil", true, 0x00B8},
    {"cent", true, 0x00A2},     {"chi", false, 0x03C7},     {"circ", false, 0x02C6},
    {"clubs", false, 0x2663},   {"cong", false, 0x2245},    {"copy", true, 0x00A9},
    {"crarr", false, 0x21B5},   {"cup", false, 0x222A},     {"curren", true, 0x00A4},
    {"dArr", false, 0x21D3},    {"dagger", false, 0x2020},  {"darr", false, 0x2193},
    {"deg", true, 0x00B0},      {"delta", false, 0x03B4},   {"diams", false, 0x2666},
    {"divide", true, 0x00F7},   {"eacute", true, 0x00E9},   {"ecirc", true, 0x00EA},
    {"egrave", true, 0x00E8},   {"empty", false, 0x2205},   {"emsp", false, 0x2003},
    {"ensp", false, 0x2002},    {"epsilon", false, 0x03B5}, {"equiv", false, 0x2261},
    {"eta", false, 0x03B7},     {"eth", true, 0x00F0},      {"euml", true, 0x00EB},
    {"euro", false, 0x20AC},    {"exist", false, 0x2203},   {"fnof", false, 0x0192},
    {"forall", false, 0x2200},  {"frac12", true, 0x00BD},   {"frac14", true, 0x00BC},
    {"frac34", true, 0x00BE},   {"frasl", false, 0x2044},   {"gamma", false, 0x03B3},
    {"ge", false, 0x2265},      {"gt", true, 0x003E},       {"hArr", false, 0x21D4},
    {"harr", false, 0x2194},    {"hearts", false, 0x2665},  {"hellip", false, 0x2026},
    {"iacute", true, 0x00ED},   {"icirc", true, 0x00EE},    {"iexcl", true, 0x00A1},
    {"igrave", true, 0x00EC},   {"image", false, 0x2111},   {"infin", false, 0x221E},
    {"int", false, 0x222B},     {"iota", false, 0x03B9},    {"iquest", true, 0x00BF},
    {"isin", false, 0x2208},    {"iuml", true, 0x00EF},     {"kappa", false, 0x03BA},
    {"lArr", false, 0x21D0},    {"lambda", false, 0x03BB},  {"lang", false, 0x2329},
    {"laquo", true, 0x00AB},    {"larr", false, 0x2190},    {"lceil", false, 0x2308},
    {"ldquo", false, 0x201C},   {"le", false, 0x2264},      {"lfloor", false, 0x230A},
    {"lowast", false, 0x2217},  {"loz", false, 0x25CA},     {"lrm", false, 0x200E},
    {"lsaquo", false, 0x2039},  {"lsquo", false, 0x2018},   {"lt", true, 0x003C},
    {"macr", true, 0x00AF},     {"mdash", false, 0x2014},   {"micro", true, 0x00B5},
    {"middot", true, 0x00B7},   {"minus", false, 0x2212},   {"mu", false, 0x03BC},
    {"nabla", false, 0x2207},   {"nbsp", true, 0x00A0},     {"ndash", false, 0x2013},
    {"ne", false, 0x2260},      {"ni", false, 0x220B},      {"not", true, 0x00AC},
    {"notin", false, 0x2209},   {"nsub", false, 0x2284},    {"ntilde", true, 0x00F1},
    {"nu", false, 0x03BD},      {"oacute", true, 0x00F3},   {"ocirc", true, 0x00F4},
    {"oelig", false, 0x0153},   {"ograve", true, 0x00F2},   {"oline", false, 0x203E},
    {"omega", false, 0x03C9},   {"omicron", false, 0x03BF}, {"oplus", false, 0x2295},
    {"or", false, 0x2228},      {"ordf", true, 0x00AA},     {"ordm", true, 0x00BA},
    {"oslash", true, 0x00F8},   {"otilde", true, 0x00F5},   {"otimes", false, 0x2297},
    {"ouml", true, 0x00F6},     {"para", true, 0x00B6},     {"part", false, 0x2202},
    {"permil", false, 0x2030},  {"perp", false, 0x22A5},    {"phi", false, 0x03C6},
    {"pi", false, 0x03C0},      {"piv", false, 0x03D6},     {"plusmn", true, 0x00B1},
    {"pound", true, 0x00A3},    {"prime", false, 0x2032},   {"prod", false, 0x220F},
    {"prop", false, 0x221D},    {"psi", false, 0x03C8},     {"quot", true, 0x0022},
    {"rArr", false, 0x21D2},    {"radic", false, 0x221A},   {"rang", false, 0x232A},
    {"raquo", true, 0x00BB},    {"rarr", false, 0x2192},    {"rceil", false, 0x2309},
    {"rdquo", false, 0x201D},   {"real", false, 0x211C},    {"reg", true, 0x00AE},
    {"rfloor", false, 0x230B},  {"rho", false, 0x03C1},     {"rlm", false, 0x200F},
    {"rsaquo", false, 0x203A},  {"rsquo", false, 0x2019},   {"sbquo", false, 0x201A},
    {"scaron", false, 0x0161},  {"sdot", false, 0x22C5},    {"sect", true, 0x00A7},
    {"shy", true, 0x00AD},      {"sigma", false, 0x03C3},   {"sigmaf", false, 0x03C2},
    {"sim", false, 0x223C},     {"spades", false, 0x2660},  {"sub", false, 0x2282},
    {"sube", false, 0x2286},    {"sum", false, 0x2211},     {"sup", false, 0x2283},
    {"sup1", true, 0x00B9},     {"sup2", true, 0x00B2},     {"sup3", true, 0x00B3},
    {"supe", false, 0x2287},    {"szlig", true, 0x00DF},    {"tau", false, 0x03C4},
    {"there4", false, 0x2234},  {"theta", false, 0x03B8},   {"thetasym", false, 0x03D1},
    {"thinsp", false, 0x2009},  {"thorn", true, 0x00FE},    {"tilde", false, 0x02DC},
    {"times", true, 0x00D7},    {"trade", false, 0x2122},   {"uArr", false, 0x21D1},
    {"uacute", true, 0x00FA},   {"uarr", false, 0x2191},    {"ucirc", true, 0x00FB},
    {"ugrave", true, 0x00F9},   {"uml", true, 0x00A8},      {"upsih", false, 0x03D2},
    {"upsilon", false, 0x03C5}, {"uuml", true, 0x00FC},     {"weierp", false, 0x2118},
    {"xi", false, 0x03BE},      {"yacute", true, 0x00FD},   {"yen", true, 0x00A5},
    {"yuml", true, 0x00FF},     {"zeta", false, 0x03B6},    {"zwj", false, 0x200D},
    {"zwnj", false, 0x200C},
};

constexpr std::uint32_t kLastCodePoint = 0x10FFFF;

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (!hex) return -1;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const Entity* FindEntity(const char* name, std::size_t length) {
    // strncmp orders a longer table name after the key it begins with.
    const auto found = std::lower_bound(std::begin(kEntities), std::end(kEntities), name,
                                        [length](const Entity& e, const char* key) {
                                            return std::strncmp(e.name, key, length) < 0;
                                        });
    if (found == std::end(kEntities) || std::strncmp(found->name, name, length) != 0 ||
        found->name[length] != '\0') {
        return nullptr;
    }
    return found;
}

std::uint32_t NumericCharacter(std::uint64_t value) {
    if (value == 0 || value > kLastCodePoint || (value >= 0xD800 && value <= 0xDFFF)) {
        return kReplacementCharacter;
    }
    if (value >= 0x80 && value <= 0x9F) {
        const std::uint32_t mapped = Windows1252HighControl(static_cast<unsigned char>(value));
        if (mapped != 0) return mapped;
    }
    return std::uint32_t(value);
}

bool ReadNumeric(const std::string& text, std::size_t& pos, std::size_t end,
                 std::uint32_t& codePoint) {
    std::size_t at = pos + 2;  // past "&#"
    const bool hex = at < end && (text[at] == 'x' || text[at] == 'X');
    if (hex) ++at;
    std::uint64_t value = 0;
    std::size_t digits = 0;
    for (; at < end; ++at) {
        const int digit = DigitValue(text[at], hex);
        if (digit < 0) break;
        if (value <= kLastCodePoint) value = value * (hex ? 16 : 10) + std::uint64_t(digit);
        ++digits;
    }
    if (digits == 0) return false;
    if (at < end && text[at] == ';') ++at;
    codePoint = NumericCharacter(value);
    pos = at;
    return true;
}

}  // namespace

bool ReadCharacterReference(const std::string& text, std::size_t& pos, std::size_t end,
                            std::uint32_t& codePoint) {
    end = std::min(end, text.size());
    if (pos + 1 >= end || text[pos] != '&') return false;
    if (text[pos + 1] == '#') return ReadNumeric(text, pos, end, codePoint);

    const std::size_t nameStart = pos + 1;
    std::size_t nameEnd = nameStart;
    while (nameEnd < end && nameEnd - nameStart <= kLongestName && IsAsciiAlnum(text[nameEnd])) {
        ++nameEnd;
    }
    const std::size_t length = nameEnd - nameStart;
    if (length == 0) return false;
    if (length <= kLongestName && nameEnd < end && text[nameEnd] == ';') {
        if (const Entity* entity = FindEntity(text.data() + nameStart, length)) {
            codePoint = entity->codePoint;
            pos = nameEnd + 1;
            return true;
        }
    }
    // Without the ';' the longest legacy name the letters begin with counts.
    for (std::size_t prefix = std::min(length, kLongestName); prefix >= 2; --prefix) {
        const Entity* entity = FindEntity(text.data() + nameStart, prefix);
        if (entity && entity->legacy) {
            codePoint = entity->codePoint;
            pos = nameStart + prefix;
            return true;
        }
    }
    return false;
}

}  // namespace vesk
