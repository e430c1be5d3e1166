// The uninstall window.
#include "uninstaller/UnInstallDlgWin32.h"

#include <commctrl.h>

#include "platform/WideTextWin32.h"
#include "uninstaller/UninstallerIds.h"

namespace vesk {
namespace {

// The removal's thread asks the window's thread to show a text: wParam the control, lParam the
// text (a std::string that lives until the message is handled, as it is sent).
constexpr UINT kShowTextMessage = WM_APP + 1;
// Posted when the removal is over.
constexpr UINT kFinishedMessage = WM_APP + 2;

}  // namespace

CUnInstallDlg::CUnInstallDlg(const UninstallPlan& plan, const UninstallTexts& texts,
                             UninstallServices& services)
    : plan_(plan), texts_(texts), services_(services) {}

CUnInstallDlg::~CUnInstallDlg() {
    worker_.Join();
    if (icon_ != nullptr) DestroyIcon(icon_);
}

int CUnInstallDlg::DoModal() {
    RunModal(IDD_UNINSTALL, nullptr);
    return exitCode_;
}

bool CUnInstallDlg::OnInitDialog() {
    static const int kFontControls[] = {IDC_UNINSTALL_DESC,   IDC_UNINSTALL_DESC2,
                                        IDC_UNINSTALL_STATUS, IDC_UNINSTALL_ITEM,
                                        IDC_UNINSTALL_START,  IDC_UNINSTALL_CLOSE};
    SetUpFonts(kFontControls);
    SendMessageW(Item(IDC_UNINSTALL_SUBJECT), WM_SETFONT, WPARAM(BoldFont()), TRUE);
    icon_ = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_UNINSTALL), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (icon_ != nullptr) SendMessageW(Window(), WM_SETICON, ICON_SMALL, LPARAM(icon_));
    SendMessageW(Window(), WM_SETICON, ICON_BIG,
                 LPARAM(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_UNINSTALL))));

    SetWindowTextUtf8(Window(), (plan_.title + texts_.Get(UninstallText::UnInstallWindowTitle)));
    SetItemText(IDC_UNINSTALL_SUBJECT, texts_.Get(UninstallText::UnInstallWindowSubject));
    SetItemText(IDC_UNINSTALL_DESC, texts_.Get(UninstallText::UnInstallWindowDesc));
    SetItemText(IDC_UNINSTALL_DESC2, texts_.Get(UninstallText::UnInstallWindowDesc2));
    SetItemText(IDC_UNINSTALL_STATUS, texts_.Get(UninstallText::UnInstallReadyDesc));
    SetItemText(IDC_UNINSTALL_ITEM, plan_.title);
    SetItemText(IDC_UNINSTALL_START, texts_.Get(UninstallText::UnInstallButtonDesc));
    SetItemText(IDC_UNINSTALL_CLOSE, texts_.Get(UninstallText::CloseButtonDesc));
    SendMessageW(Item(IDC_UNINSTALL_PROGRESS), PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SetFocus(Item(IDC_UNINSTALL_START));
    return false;
}

void CUnInstallDlg::OnCancel() {
    // The removal is not stopped halfway: the window closes once it is over.
    if (!running_) EndModal(exitCode_);
}

bool CUnInstallDlg::OnCommand(int id, int code) {
    if (id != IDC_UNINSTALL_START || code != BN_CLICKED) return false;
    if (!running_ && !worker_.Joinable()) Start();
    return true;
}

bool CUnInstallDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case kShowTextMessage:
            SetItemText(int(wParam), *reinterpret_cast<const std::string*>(lParam));
            result = 0;
            return true;
        case kFinishedMessage:
            Finished();
            result = 0;
            return true;
        case WM_TIMER:
            if (!item_.OnTimer(UINT_PTR(wParam))) return false;
            result = 0;
            return true;
        default:
            return false;
    }
}

void CUnInstallDlg::Start() {
    running_ = true;
    EnableWindow(Item(IDC_UNINSTALL_START), FALSE);
    EnableWindow(Item(IDC_UNINSTALL_CLOSE), FALSE);
    item_.Start(Item(IDC_UNINSTALL_ITEM), kItemTimer);
    const HWND window = Window();
    const bool started = worker_.Start([this, window] {
        result_ = UninstallWorker(services_, *this, texts_).Run(plan_);
        PostMessageW(window, kFinishedMessage, 0, 0);
    });
    if (!started) {
        // No thread to be had: the removal runs here, the window waiting for it.
        result_ = UninstallWorker(services_, *this, texts_).Run(plan_);
        Finished();
    }
}

void CUnInstallDlg::Finished() {
    worker_.Join();
    running_ = false;
    exitCode_ = ExitCodeOf(result_);
    item_.Stop();
    // The header said what Uninstall would do; now it says what was done, and the lines about
    // the buttons and the work under way go.
    SetItemText(IDC_UNINSTALL_DESC, plan_.title + texts_.Get(UninstallText::UnInstallComplete));
    SetItemText(IDC_UNINSTALL_DESC2, std::string());
    SetItemText(IDC_UNINSTALL_STATUS, std::string());
    SetItemText(IDC_UNINSTALL_ITEM, std::string());
    const HWND close = Item(IDC_UNINSTALL_CLOSE);
    EnableWindow(close, TRUE);
    SendMessageW(Window(), DM_SETDEFID, IDC_UNINSTALL_CLOSE, 0);
    SetFocus(close);
    const bool whole = result_.atRestart.empty() && result_.left.empty();
    MessageBoxUtf8(Window(), FinalMessage(texts_, plan_.title, result_),
                   (plan_.title + texts_.Get(UninstallText::UnInstallWindowTitle)),
                   MB_OK | (whole ? MB_ICONINFORMATION : MB_ICONWARNING));
}

void CUnInstallDlg::SetStatus(const std::string& text) {
    SendMessageW(Window(), kShowTextMessage, IDC_UNINSTALL_STATUS, reinterpret_cast<LPARAM>(&text));
}

void CUnInstallDlg::SetItem(const std::string& text) {
    item_.Set(text);
}

void CUnInstallDlg::SetProgress(int percent) {
    SendMessageW(Item(IDC_UNINSTALL_PROGRESS), PBM_SETPOS, WPARAM(percent), 0);
}

}  // namespace vesk
