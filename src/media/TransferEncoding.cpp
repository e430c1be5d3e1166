// Quoted-printable and base64 decoding, lenient as mail readers are.
#include "media/TransferEncoding.h"

#include <cstdint>

namespace vesk {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+' || c == '-') return 62;  // '-' and '_' of the URL-safe alphabet too
    if (c == '/' || c == '_') return 63;
    return -1;
}

std::string DecodeQuotedPrintable(const std::string& text, std::size_t begin, std::size_t end) {
    std::string out;
    out.reserve(end - begin);
    for (std::size_t i = begin; i < end; ++i) {
        if (text[i] != '=') {
            out += text[i];
            continue;
        }
        if (i + 2 < end && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += char(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
            continue;
        }
        // A soft line break: '=' and perhaps padding at the end of a line.
        std::size_t at = i + 1;
        while (at < end && (text[at] == ' ' || text[at] == '\t')) ++at;
        if (at < end && text[at] == '\r') ++at;
        if (at < end && text[at] == '\n') ++at;
        if (at == end || text[at - 1] == '\n' || text[at - 1] == '\r') {
            i = at - 1;
        } else {
            out += '=';
        }
    }
    return out;
}

std::string DecodeBase64(const std::string& text, std::size_t begin, std::size_t end) {
    std::string out;
    out.reserve((end - begin) / 4 * 3 + 3);
    std::uint32_t bits = 0;
    int count = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const int value = Base64Value(text[i]);
        if (value < 0) continue;
        bits = (bits << 6) | std::uint32_t(value);
        if (++count == 4) {
            out += char(bits >> 16);
            out += char(bits >> 8);
            out += char(bits);
            bits = 0;
            count = 0;
        }
    }
    if (count == 3) {
        out += char(bits >> 10);
        out += char(bits >> 2);
    } else if (count == 2) {
        out += char(bits >> 4);
    }
    return out;
}

}  // namespace

std::string DecodeTransferEncoding(const std::string& text, std::size_t begin, std::size_t end,
                                   const std::string& encoding) {
    if (end > text.size()) end = text.size();
    if (begin >= end) return {};
    if (encoding == "quoted-printable") return DecodeQuotedPrintable(text, begin, end);
    if (encoding == "base64") return DecodeBase64(text, begin, end);
    return text.substr(begin, end - begin);
}

}  // namespace vesk
