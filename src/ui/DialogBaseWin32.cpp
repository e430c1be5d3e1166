// Dialog creation and message routing shared by every window of the engine.
#include "ui/DialogBaseWin32.h"

#include "platform/WideTextWin32.h"
#include "ui/TrackedEditWin32.h"

namespace vesk {

DialogBase::~DialogBase() {
    Destroy();
}

INT_PTR DialogBase::RunModal(int templateId, HWND owner) {
    modal_ = true;
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                                     &DialogProc, reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    return result;
}

bool DialogBase::CreateModeless(int templateId, HWND parent) {
    modal_ = false;
    HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
                                     parent, &DialogProc, reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

void DialogBase::Destroy() {
    if (window_ != nullptr && !modal_ && IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
}

void DialogBase::SetItemText(int id, const std::string& text) const {
    SetDlgItemTextW(window_, id, Wide(text).c_str());
}

void DialogBase::SetUpFonts(const int* ids, int count) {
    if (normalFont_.Create(window_, DialogFont::kNormal)) normalFont_.ApplyTo(window_, ids, count);
    boldFont_.Create(window_, DialogFont::kBold);
}

void DialogBase::EndModal(INT_PTR result) {
    if (window_ != nullptr && modal_) EndDialog(window_, result);
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<DialogBase*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->window_ = window;
        return dialog->OnInitDialog() ? TRUE : FALSE;
    }
    auto* dialog = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        dialog->window_ = nullptr;
        return FALSE;
    }
    return dialog->Dispatch(message, wParam, lParam);
}

INT_PTR DialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (TrackedEdit::ReflectCommand(wParam, lParam)) return TRUE;
        switch (LOWORD(wParam)) {
            case IDOK:
                OnOk();
                return TRUE;
            case IDCANCEL:
                OnCancel();
                return TRUE;
            default:
                return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        }
    }
    INT_PTR result = 0;
    if (!OnMessage(message, wParam, lParam, result)) return FALSE;
    // Messages that return a value of their own (brushes, drag icons) give it directly; others
    // pass it through DWLP_MSGRESULT.
    switch (message) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORBTN:
        case WM_QUERYDRAGICON:
            return result;
        default:
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
            return TRUE;
    }
}

}  // namespace vesk
