// Fuzzes the document converter: any bytes give text an edit control can show as it is laid
// out (CR LF line ends only, no zero byte, no trailing blanks, at most one blank line in a row,
// none at either end), and the output stays a small multiple of the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "media/DocumentText.h"
#include "media/HtmlText.h"
#include "platform/AnsiText.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Each character written as several bytes, or refused, to shake the layout's byte handling.
std::string WideOrNothing(std::uint32_t codePoint) {
    if (codePoint % 3 == 0) return {};
    return std::string(1 + codePoint % 4, char(0x80 | (codePoint & 0x7F)));
}

void CheckLayout(const std::string& text, std::size_t inputSize) {
    Check(text.find('\0') == std::string::npos);
    Check(text.size() <= 64 * inputSize + 64);
    if (text.empty()) return;
    Check(text[0] != '\r' && text.back() != '\n' && text.back() != ' ' && text.back() != '\t');
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            Check(i + 1 < text.size() && text[i + 1] == '\n');
            Check(i > 0 && text[i - 1] != ' ' && text[i - 1] != '\t');
        } else if (text[i] == '\n') {
            Check(i > 0 && text[i - 1] == '\r');
        }
    }
    Check(text.find("\r\n\r\n\r\n") == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    static const vesk::CodePointEncoder ansi = vesk::AnsiEncoder();
    static const vesk::CodePointEncoder wide = WideOrNothing;
    CheckLayout(vesk::DocumentToText(bytes, ansi), size);
    CheckLayout(vesk::HtmlToText(bytes, wide, true), size);
    CheckLayout(vesk::HtmlToText(bytes, ansi, false), size);
    return 0;
}
