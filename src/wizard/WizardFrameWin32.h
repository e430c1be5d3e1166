// The wizard frame: the setup's main window, with the header band, the pages below it and the
// Back, Next and Cancel buttons.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "install/InstallReport.h"
#include "session/SetupSession.h"
#include "ui/DialogBaseWin32.h"
#include "wizard/ChangeInstallPathWin32.h"
#include "wizard/DestinationFolders.h"
#include "wizard/FinishWin32.h"
#include "wizard/InstallProcessWin32.h"
#include "wizard/PageMetrics.h"
#include "wizard/ReadSoftLicenseWin32.h"
#include "wizard/RegisterInfoWin32.h"
#include "wizard/SelectProgramFolderWin32.h"
#include "wizard/ShowReadmeWin32.h"
#include "wizard/WelcomePageWin32.h"
#include "wizard/WizardFlow.h"

namespace vesk {

// One modal dialog. It creates all eight pages once, lets WizardFlow decide which one is shown,
// hands each page its part of the flow (WizardPage's hooks: whether it may be left, left, entered),
// and is the install worker's report: status and progress go to the progress page, questions are
// asked on this window's thread, and the end arrives as timer 2 (completed) or 8 (ended early).
class WizardFrame : public DialogBase, private WizardView, public InstallReport {
public:
    // Timers: the worker's end moves the wizard on (2) or closes it (8), 100 ms later.
    static constexpr UINT_PTR kAdvanceTimer = 2;
    static constexpr UINT_PTR kCloseTimer = 8;
    static constexpr UINT kTimerDelayMs = 100;

    // `finalCleanUp` is what the finish page runs before it restarts the computer; `shown`, when
    // given, runs once the wizard is on screen (the loading dialog goes then).
    WizardFrame(SetupSession& session, const PageMetrics& metrics,
                std::function<void()> finalCleanUp, std::function<void()> shown = nullptr);
    ~WizardFrame() override;

    // Shows the wizard until it closes.
    void DoModal();

    // InstallReport, called from the worker thread.
    void SetStatus(const std::string& text) override;
    void SetItem(const std::string& text) override;
    void SetProgress(int percent) override;
    bool AskYesNo(const std::string& text, const std::string& caption, QuestionIcon icon) override;
    void Tell(const std::string& text, const std::string& caption) override;
    void Finish(InstallOutcome outcome) override;

private:
    bool OnInitDialog() override;
    void OnCancel() override { flow_.OnCancel(); }
    bool OnCommand(int id, int code) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void CreatePages();
    // Sizes the frame to the page area and puts the lines and buttons around it.
    void LayOut();
    void PaintFrame();
    void PaintHeader(HDC dc, const RECT& band);
    void EraseBackground(HDC dc);
    RECT HeaderBand() const;
    struct PageOfFlow {
        WizardPage* page;
        int kind;  // kNoPage for the finish page, which the flow enters on its own way
    };
    std::array<PageOfFlow, 8> Pages();
    // The page the flow shows for `kind`; null for kNoPage and the finish kinds.
    WizardPage* PageOfKind(int kind);
    // Gives the focus to the page shown now: its first control (FirstFocusControl), else the
    // first enabled of Next, Cancel and Back.
    void FocusShownPage();
    // WizardView
    bool CanLeave(int kind) override;
    bool CommitDestination() override;
    void LeavePage(int kind) override;
    void EnterPage(int kind) override;
    void SetHeader(const PageHeader& header) override;
    void SetHeaderVisible(bool visible) override;
    void EnableButton(WizardButton button, bool enabled) override;
    void SetNextCaption(const std::string& text) override;
    void EnterFinishPage(const Task& task) override;
    void RunFinishAction() override;
    void ShowCompletionMessage(const std::string& text, const std::string& caption) override;
    bool AskToExit(const std::string& text, const std::string& caption) override;
    void StartCloseTimer() override;

    SetupSession& session_;
    PageMetrics metrics_;
    std::function<void()> shown_;
    WizardFlow flow_;
    PageHeader header_;
    bool headerVisible_ = false;
    std::string headerPicture_;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;

    DestinationFolders destinationFolders_;
    WelcomePage welcome_;
    CReadSoftLicense licence_;
    CShowReadme readme_;
    CRegisterInfo userInformation_;
    CChangeInstallPath destination_;
    CSelectProgramFolder programFolder_;
    CInstallProcess progress_;
    CFinish finish_;
};

}  // namespace vesk
