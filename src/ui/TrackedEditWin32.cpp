// Subclassed edit control with a text copy refreshed on every change notification.
#include "ui/TrackedEditWin32.h"

#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

// The window property that leads from an edit control to its TrackedEdit.
constexpr const wchar_t* kOwnerProperty = L"VeskTrackedEdit";

// The whole window text of a control, however long.
std::string WindowText(HWND window) {
    return WindowTextUtf8(window);
}

}  // namespace

bool TrackedEdit::Attach(HWND dialog, int id) {
    Detach();
    HWND control = GetDlgItem(dialog, id);
    if (!control) return false;
    if (!SetPropW(control, kOwnerProperty, this)) return false;
    window_ = control;
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    Refresh();
    return true;
}

void TrackedEdit::Detach() {
    if (!window_) return;
    if (IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        RemovePropW(window_, kOwnerProperty);
    }
    window_ = nullptr;
    original_ = nullptr;
}

bool TrackedEdit::ReflectCommand(WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (!control) return false;
    auto* edit = static_cast<TrackedEdit*>(GetPropW(control, kOwnerProperty));
    if (!edit || edit->window_ != control) return false;
    if (HIWORD(wParam) == EN_CHANGE) edit->Refresh();
    return true;
}

void TrackedEdit::Refresh() {
    text_ = WindowText(window_);
}

LRESULT CALLBACK TrackedEdit::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* edit = static_cast<TrackedEdit*>(GetPropW(window, kOwnerProperty));
    if (!edit) return DefWindowProcW(window, message, wParam, lParam);
    WNDPROC original = edit->original_;
    if (message == WM_NCDESTROY) edit->Detach();  // the control goes; its copy stays readable
    return CallWindowProcW(original, window, message, wParam, lParam);
}

}  // namespace vesk
