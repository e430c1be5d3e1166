// The progress page: the status line and progress bar the install worker drives, and the place
// where the worker starts.
#pragma once

#include "install/InstallReport.h"
#include "platform/WorkerThread.h"
#include "wizard/WizardPageWin32.h"

namespace vesk {

class CInstallProcess : public WizardPage {
public:
    // The worker reports through `report` (the frame, which forwards status and progress here).
    CInstallProcess(SetupSession& session, InstallReport& report);
    // Waits for a worker still running (it has then told the frame its end already).
    ~CInstallProcess() override;

    // Starts the install worker the first time only, then shows the page.
    void ShowAndStart();
    // Returns when no worker runs any more.
    void WaitForWorker();

    // Called from the worker thread; the controls are updated on their own thread.
    void SetStatus(const std::string& text);
    void SetProgress(int percent);

private:
    bool OnInitDialog() override;

    InstallReport& report_;
    bool workerPending_ = false;
    WorkerThread worker_;
};

}  // namespace vesk
