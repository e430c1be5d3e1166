// The focus of the wizard's pages.
#include "wizard/PageFocusWin32.h"

#include <cwchar>

#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

bool IsRadioButton(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    if (lstrcmpiW(name, L"Button") != 0) return false;
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool TakesEveryKey(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    if (std::wcsncmp(name, L"AtlAxWin", 8) == 0) return true;
    return (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS) != 0;
}

bool CanTakeFocus(HWND control) {
    // The style, not IsWindowVisible: the page may be shown before its dialog is.
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    return (style & WS_VISIBLE) && (style & WS_TABSTOP) && IsWindowEnabled(control);
}

// The checked radio button of the group `first` starts; null when none is checked.
HWND CheckedInGroup(HWND first) {
    for (HWND button = first; button && IsRadioButton(button);
         button = GetWindow(button, GW_HWNDNEXT)) {
        if (button != first && (GetWindowLongW(button, GWL_STYLE) & WS_GROUP)) break;
        if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED && IsWindowEnabled(button)) {
            return button;
        }
    }
    return nullptr;
}

}  // namespace

HWND FirstFocusControl(HWND page) {
    if (!page) return nullptr;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!CanTakeFocus(child) || TakesEveryKey(child)) continue;
        if (!IsRadioButton(child)) return child;
        if (HWND checked = CheckedInGroup(child)) return checked;
    }
    return nullptr;
}

void MoveFocus(HWND dialog, HWND control) {
    if (!control) return;
    SendMessageW(dialog, WM_NEXTDLGCTL, WPARAM(control), TRUE);
    // The dialog manager makes a focused push button the default, and the default button is
    // what Enter presses; the wizard's Enter presses nothing (IDOK, which no control carries).
    SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
}

}  // namespace vesk
