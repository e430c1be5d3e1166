// A font made from a dialog's own font with the face name cleared and a chosen weight.
#pragma once

#include <windows.h>

namespace vesk {

// Owns the font; it is deleted with this object, so it must outlive the controls using it.
class DialogFont {
public:
    static constexpr int kNormal = FW_NORMAL;  // 400
    static constexpr int kBold = FW_BOLD;      // 700

    DialogFont() = default;
    ~DialogFont() { Reset(); }
    DialogFont(const DialogFont&) = delete;
    DialogFont& operator=(const DialogFont&) = delete;

    // Copies the description of the font `dialog` uses, empties its face name, sets `weight`
    // and creates that font. False when the dialog has no font or creation fails.
    bool Create(HWND dialog, int weight);
    // Gives the font to each listed control of `dialog`, redrawing it.
    void ApplyTo(HWND dialog, const int* ids, int count) const;
    void Reset();

    HFONT get() const { return font_; }

private:
    HFONT font_ = nullptr;
};

}  // namespace vesk
