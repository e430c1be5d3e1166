// The loading dialog (template IDD_LOADING): one centred message, a one-shot timer that starts
// the unpacking, and no way for the user to end it.
#include "app/LoadingDialog.h"

#include "install/StartupFiles.h"
#include "resources/ResourceIds.h"

namespace vesk {

bool LoadingDialog::DoModal() {
    done_ = false;
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOADING),
                                     nullptr, &DialogProc, reinterpret_cast<LPARAM>(this));
    font_.Reset();
    window_ = nullptr;
    // Without the dialog nothing was unpacked; going on would show a wizard without its files.
    if (result != IDOK || !done_) state_.setupFinished = true;
    return !state_.setupFinished;
}

INT_PTR CALLBACK LoadingDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<LoadingDialog*>(lParam)->OnInitDialog(window);
        return TRUE;
    }
    auto* dialog = reinterpret_cast<LoadingDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog) return FALSE;
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam) dialog->OnShow();
            return FALSE;  // the default handling goes on
        case WM_TIMER:
            dialog->OnTimer();
            return TRUE;
        case WM_COMMAND:
            // Enter (IDOK), Escape and the close request (IDCANCEL): the dialog ends itself only.
            return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
        default:
            return FALSE;
    }
}

void LoadingDialog::OnInitDialog(HWND window) {
    window_ = window;
    state_.setupFinished = false;
    SetTimer(window, kTimerId, kDelayMs, nullptr);
    static const int kFontControls[] = {IDC_LOADING_TEXT};
    if (font_.Create(window, DialogFont::kNormal)) font_.ApplyTo(window, kFontControls, 1);
}

void LoadingDialog::OnShow() {
    SetDlgItemTextA(window_, IDC_LOADING_TEXT,
                    texts_.GetText(TextKey::LoadingInstallFiles).c_str());
}

void LoadingDialog::OnTimer() {
    KillTimer(window_, kTimerId);
    if (done_) return;  // a timer message already queued before the kill
    if (!ExtractStartupFiles(reader_, files_, state_.tempFiles)) state_.setupFinished = true;
    done_ = true;
    EndDialog(window_, IDOK);
}

}  // namespace vesk
