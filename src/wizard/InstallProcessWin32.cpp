// The progress page.
#include "wizard/InstallProcessWin32.h"

#include <commctrl.h>

#include "install/HostInstallWin32.h"
#include "install/InstallWorker.h"
#include "resources/ResourceIds.h"

namespace vesk {

CInstallProcess::CInstallProcess(SetupSession& session, InstallReport& report,
                                 DestinationFolders& folders)
    : WizardPage(session, IDD_PROGRESS_PAGE), report_(report), folders_(folders) {}

CInstallProcess::~CInstallProcess() {
    WaitForWorker();
}

void CInstallProcess::WaitForWorker() {
    worker_.Join();
}

bool CInstallProcess::OnInitDialog() {
    workerPending_ = true;
    static const int kFontControls[] = {IDC_PROGRESS_STATUS, IDC_PROGRESS_ITEM};
    SetUpFonts(kFontControls);
    SetItemText(IDC_PROGRESS_STATUS, session_.texts.GetText(TextKey::InstallProcessDesc2));
    return true;
}

void CInstallProcess::OnEntered() {
    // From now on the install's rollback removes the destination's folders.
    folders_.HandOver(session_.records);
    if (workerPending_) {
        workerPending_ = false;
        session_.flags.cancelRequested = false;
        SetupSession& session = session_;
        InstallReport& report = report_;
        // Looked up here, on the user-interface thread, before the worker runs.
        const HostSystem system = LookUpHostSystem();
        const bool started = worker_.Start([&session, &report, system] {
            HostInstall install(system, session, report,
                                [](int milliseconds) { Sleep(DWORD(milliseconds)); });
            InstallWorker(session, report, install.Services()).Run();
        });
        // Without a thread there is no install: the wizard closes as after an early end.
        if (!started) report_.Finish(InstallOutcome::EndedEarly);
        item_.Start(Item(IDC_PROGRESS_ITEM), kItemTimer);
    }
    Show();
}

bool CInstallProcess::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message != WM_TIMER || !item_.OnTimer(UINT_PTR(wParam))) return false;
    result = 0;
    return true;
}

void CInstallProcess::SetStatus(const std::string& text) {
    item_.Set(std::string());
    SetItemText(IDC_PROGRESS_STATUS, text);
}

void CInstallProcess::SetProgress(int percent) {
    SendMessageW(Item(IDC_PROGRESS_BAR), PBM_SETPOS, WPARAM(percent), 0);
}

}  // namespace vesk
