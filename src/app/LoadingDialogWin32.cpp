// The loading dialog (template IDD_LOADING): one centred message and a bar, shown without
// activation while the setup checks and unpacks what it needs before its first window.
#include "app/LoadingDialogWin32.h"

#include <commctrl.h>

#include "app/SetupPreparation.h"
#include "resources/ResourceIds.h"

namespace vesk {
namespace {

constexpr int kBarRange = 100;

}  // namespace

void LoadingDialog::Show() {
    if (Window() || !CreateModeless(IDD_LOADING, nullptr)) return;
    // Not activated: a window that never had the activation goes without waiting for anyone.
    ShowWindow(Window(), SW_SHOWNOACTIVATE);
    UpdateWindow(Window());
    lastRepaint_ = GetTickCount();
    session_.reader.SetCheckProgress(
        [this](std::int64_t done, std::int64_t total) { OnCheckProgress(done, total); });
}

bool LoadingDialog::OnInitDialog() {
    static const int kFontControls[] = {IDC_LOADING_TEXT};
    SetUpFonts(kFontControls);
    SendMessageW(Item(IDC_LOADING_BAR), PBM_SETRANGE, 0, MAKELPARAM(0, kBarRange));
    return false;
}

void LoadingDialog::ShowText() {
    if (!Window()) return;
    SetItemText(IDC_LOADING_TEXT, session_.texts.GetText(TextKey::LoadingInstallFiles));
    UpdateWindow(Window());
}

bool LoadingDialog::UnpackStartupFiles() {
    const bool unpacked =
        ExtractStartupFiles(session_.reader, SessionStartupRun(session_), session_.runFolder);
    if (!unpacked) session_.flags.setupFinished = true;
    return unpacked;
}

void LoadingDialog::Close() {
    if (!Window()) return;
    session_.reader.SetCheckProgress(nullptr);
    Destroy();
}

void LoadingDialog::OnCheckProgress(std::int64_t done, std::int64_t total) {
    if (!Window() || total <= 0) return;
    const int position = int(done * kBarRange / total);
    SendMessageW(Item(IDC_LOADING_BAR), PBM_SETPOS, WPARAM(position), 0);
    if (GetTickCount() - lastRepaint_ >= kRepaintMs || done == total) Repaint();
}

void LoadingDialog::Repaint() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(int(message.wParam));  // for the loop that comes next
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    lastRepaint_ = GetTickCount();
}

}  // namespace vesk
