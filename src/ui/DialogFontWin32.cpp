// Dialog fonts: the template's font description with an empty face name and a fixed weight.
#include "ui/DialogFontWin32.h"

namespace vesk {

bool DialogFont::Create(HWND dialog, int weight) {
    Reset();
    HFONT base = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (!base) base = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW description{};
    if (GetObjectW(base, sizeof description, &description) != int(sizeof description)) return false;
    description.lfFaceName[0] = '\0';
    description.lfWeight = weight;
    font_ = CreateFontIndirectW(&description);
    return font_ != nullptr;
}

void DialogFont::ApplyTo(HWND dialog, const int* ids, int count) const {
    if (!font_) return;
    for (int i = 0; i < count; ++i) {
        HWND control = GetDlgItem(dialog, ids[i]);
        if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
}

void DialogFont::Reset() {
    if (font_) DeleteObject(font_);
    font_ = nullptr;
}

}  // namespace vesk
