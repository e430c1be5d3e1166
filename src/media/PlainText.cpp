// Plain text through the same layout as HTML, every character kept where it stands.
#include "media/PlainText.h"

#include "media/TextLayout.h"
#include "media/UnicodeText.h"

namespace vesk {

std::string PlainTextToText(const std::string& text, const CodePointEncoder& encode, bool utf8) {
    TextLayout layout(encode);
    std::size_t pos = (utf8 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) ? 3 : 0;
    while (pos < text.size()) {
        const std::uint32_t unit = ReadCharacter(text, pos, utf8);
        if (unit == '\r') {
            if (pos < text.size() && text[pos] == '\n') ++pos;
            layout.LineBreak();
        } else if (unit == '\n' || unit == '\f') {
            layout.LineBreak();
        } else {
            layout.Character(unit);
        }
    }
    return layout.Finish();
}

}  // namespace vesk
