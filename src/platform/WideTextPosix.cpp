// Project text to UTF-16 through iconv.
#include <iconv.h>

#include <vector>

#include "platform/WideText.h"

namespace vesk {

bool ProjectTextToUtf16(const std::string& text, std::u16string& wide) {
    wide.clear();
    bool ascii = true;
    for (unsigned char c : text) ascii = ascii && c < 0x80;
    if (ascii) {
        wide.assign(text.begin(), text.end());
        return true;
    }
    iconv_t converter = iconv_open("UTF-16LE", "GB18030");
    if (converter == iconv_t(-1)) return false;
    std::string input = text;
    std::vector<char> output(text.size() * 4 + 4);
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size(), outLeft = output.size();
    std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == std::size_t(-1) || inLeft != 0) return false;
    std::size_t bytes = output.size() - outLeft;
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        wide += char16_t(static_cast<unsigned char>(output[i]) |
                         static_cast<unsigned char>(output[i + 1]) << 8);
    }
    return true;
}

}  // namespace vesk
