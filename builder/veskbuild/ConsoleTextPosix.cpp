// GB2312 (as GB18030, its superset) to UTF-8 through iconv.
#include <iconv.h>

#include "builder/veskbuild/ConsoleText.h"
#include "platform/Utf8.h"

namespace vesk::tool {

std::string ForConsole(const std::string& ansiText) {
    // The engine's texts are UTF-8; a text that is not comes from an earlier project (GB2312).
    if (IsUtf8(ansiText)) return ansiText;
    iconv_t converter = iconv_open("UTF-8", "GB18030");
    if (converter == iconv_t(-1)) return ansiText;
    std::string input = ansiText;
    std::string output(input.size() * 4 + 4, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size(), outLeft = output.size();
    std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == std::size_t(-1)) return ansiText;
    output.resize(output.size() - outLeft);
    return output;
}

bool ConsoleSpeaksUtf8() {
    return true;
}

}  // namespace vesk::tool
