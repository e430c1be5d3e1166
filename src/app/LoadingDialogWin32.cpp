// The loading dialog (template IDD_LOADING): one centred message, a one-shot timer that starts
// the unpacking, and no way for the user to end it.
#include "app/LoadingDialogWin32.h"

#include "app/SetupPreparation.h"
#include "resources/ResourceIds.h"

namespace vesk {

bool LoadingDialog::DoModal() {
    done_ = false;
    INT_PTR result = RunModal(IDD_LOADING, nullptr);
    // Without the dialog nothing was unpacked; going on would show a wizard without its files.
    if (result != IDOK || !done_) session_.flags.setupFinished = true;
    return !session_.flags.setupFinished;
}

bool LoadingDialog::OnInitDialog() {
    session_.flags.setupFinished = false;
    SetTimer(Window(), kTimerId, kDelayMs, nullptr);
    static const int kFontControls[] = {IDC_LOADING_TEXT};
    SetUpFonts(kFontControls);
    return true;
}

bool LoadingDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam) {
                SetItemText(IDC_LOADING_TEXT, session_.texts.GetText(TextKey::LoadingInstallFiles));
            }
            return false;  // the default handling goes on
        case WM_TIMER:
            OnTimer();
            return true;
        default:
            return false;
    }
}

void LoadingDialog::OnTimer() {
    KillTimer(Window(), kTimerId);
    if (done_) return;  // a timer message already queued before the kill
    const bool unpacked =
        ExtractStartupFiles(session_.reader, SessionStartupRun(session_), session_.runFolder);
    if (!unpacked) session_.flags.setupFinished = true;
    done_ = true;
    EndModal(IDOK);
}

}  // namespace vesk
