// The progress page: the status line and progress bar the install worker drives, and the place
// where the worker starts.
#pragma once

#include "install/InstallReport.h"
#include "platform/WorkerThread.h"
#include "ui/ItemLineWin32.h"
#include "wizard/DestinationFolders.h"
#include "wizard/WizardPageWin32.h"

namespace vesk {

class CInstallProcess : public WizardPage {
public:
    // The worker reports through `report` (the frame, which forwards status and progress here);
    // the install takes over the destination's `folders` when it starts.
    CInstallProcess(SetupSession& session, InstallReport& report, DestinationFolders& folders);
    // Waits for a worker still running (it has then told the frame its end already).
    ~CInstallProcess() override;

    // The first time only: the destination's folders become the install's (recorded for a
    // rollback) and the install worker starts. Then the page is shown.
    void OnEntered() override;
    // Returns when no worker runs any more.
    void WaitForWorker();

    // Called from the worker thread; the controls are updated on their own thread. A new
    // status clears the item line, which belongs to the phase.
    void SetStatus(const std::string& text);
    void SetProgress(int percent);
    // The file being written, shown under the status within 50 ms (ItemLine); returns at once.
    void SetItem(const std::string& text) { item_.Set(text); }

private:
    static constexpr UINT_PTR kItemTimer = 1;

    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    InstallReport& report_;
    DestinationFolders& folders_;
    bool workerPending_ = false;
    ItemLine item_;
    WorkerThread worker_;
};

}  // namespace vesk
