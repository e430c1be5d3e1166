// The uninstall window: the product's name, what Uninstall does, a status line with the item
// being removed and a progress bar, and the message at the end.
#pragma once

#include "platform/WorkerThread.h"
#include "ui/DialogBaseWin32.h"
#include "ui/ItemLineWin32.h"
#include "uninstaller/UninstallOutcome.h"
#include "uninstaller/UninstallPlan.h"
#include "uninstaller/UninstallReport.h"
#include "uninstaller/UninstallTexts.h"
#include "uninstaller/UninstallWorker.h"

namespace vesk {

class CUnInstallDlg : public DialogBase, private UninstallReport {
public:
    // Everything must outlive the window.
    CUnInstallDlg(const UninstallPlan& plan, const UninstallTexts& texts,
                  UninstallServices& services);
    ~CUnInstallDlg() override;

    // Shows the window until it is closed. The exit code: kUninstallClosed when it was closed
    // before Uninstall, else how the removal went (ExitCodeOf).
    int DoModal();

private:
    bool OnInitDialog() override;
    void OnCancel() override;
    bool OnCommand(int id, int code) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    // Uninstall: the removal starts on a thread of its own, so the window stays responsive.
    void Start();
    // The removal is over: the final message, then only Close.
    void Finished();

    // From the removal's thread, each sent to the window's thread.
    void SetStatus(const std::string& text) override;
    void SetItem(const std::string& text) override;
    void SetProgress(int percent) override;

    static constexpr UINT_PTR kItemTimer = 1;

    const UninstallPlan& plan_;
    const UninstallTexts& texts_;
    UninstallServices& services_;
    WorkerThread worker_;
    ItemLine item_;  // what is being removed, shown now and then
    UninstallResult result_;
    bool running_ = false;
    int exitCode_ = kUninstallClosed;
    HICON icon_ = nullptr;
};

}  // namespace vesk
