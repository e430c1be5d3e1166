// Creating, showing, hiding and closing a wizard page, and telling why it stays.
#include "wizard/WizardPageWin32.h"

#include "platform/WideTextWin32.h"
#include "wizard/PageFocusWin32.h"

namespace vesk {

bool WizardPage::Create(HWND frame) {
    closing_ = false;
    return CreateModeless(templateId_, frame);
}

void WizardPage::PlaceAt(int x, int y, int width, int height) {
    SetWindowPos(Window(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT margin{0, 0, 6, 4};  // dialog units kept free at the right and bottom edges
    MapDialogRect(Window(), &margin);
    for (HWND child = GetWindow(Window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT area{};
        GetWindowRect(child, &area);
        MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&area), 2);
        const int right = width - margin.right, bottom = height - margin.bottom;
        if (area.right <= right && area.bottom <= bottom) continue;
        const int newWidth = area.right > right ? right - area.left : area.right - area.left;
        const int newHeight = area.bottom > bottom ? bottom - area.top : area.bottom - area.top;
        if (newWidth <= 0 || newHeight <= 0) continue;
        SetWindowPos(child, nullptr, 0, 0, newWidth, newHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void WizardPage::Show() {
    ShowWindow(Window(), SW_SHOW);
}

void WizardPage::Hide() {
    ShowWindow(Window(), SW_HIDE);
}

void WizardPage::Close() {
    closing_ = true;
    Destroy();
}

void WizardPage::Refuse(const std::string& text, HWND control) {
    HWND frame = GetParent(Window());
    MessageBoxUtf8(frame, text, session_.texts.GetText(TextKey::MessageDesc),
                   MB_OK | MB_ICONEXCLAMATION);
    MoveFocus(frame, control);
}

}  // namespace vesk
