// Wrapped and shortened text.
#include "wizard/FittedTextWin32.h"

#include <vector>

#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

constexpr UINT kWrapped = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_LEFT | DT_TOP;
constexpr char16_t kEllipsis[] = u"...";

int HeightIn(HDC dc, const WideText& text, int width) {
    RECT box{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &box, kWrapped | DT_CALCRECT);
    return box.bottom - box.top;
}

bool IsLowSurrogate(wchar_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

int WrappedHeight(HDC dc, const std::string& text, int width) {
    return HeightIn(dc, Wide(text), width);
}

int DrawFittedText(HDC dc, const std::string& utf8, const RECT& area) {
    const WideText text = Wide(utf8);
    const int width = area.right - area.left;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int line = metrics.tmHeight > 0 ? int(metrics.tmHeight) : 1;
    const int room = area.bottom - area.top < line ? line : area.bottom - area.top;
    WideText shown = text;
    if (HeightIn(dc, text, width) > room) {
        // The longest start of the text (whole characters: a surrogate pair is never split)
        // that fits with the ellipsis behind it.
        std::vector<std::size_t> ends;
        for (std::size_t at = 0; at < text.size(); ++at) {
            if (!IsLowSurrogate(text[at])) ends.push_back(at);
        }
        std::size_t low = 0, high = ends.size();  // ends[low] fits; ends[high] does not
        while (high - low > 1) {
            const std::size_t middle = (low + high) / 2;
            if (HeightIn(dc, WideText(text.substr(0, ends[middle]) + kEllipsis), width) <= room) {
                low = middle;
            } else {
                high = middle;
            }
        }
        shown = text.substr(0, ends.empty() ? 0 : ends[low]);
        while (!shown.empty() && shown.back() == ' ') shown.pop_back();
        shown += kEllipsis;
    }
    RECT box = area;
    box.bottom = area.top + room;
    DrawTextW(dc, shown.c_str(), int(shown.size()), &box, kWrapped);
    const int drawn = HeightIn(dc, shown, width);
    return drawn < room ? drawn : room;
}

}  // namespace vesk
