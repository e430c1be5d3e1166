// Start-up of the engine: the payload, the windows before the wizard, the wizard, the clean-up.
#include "app/SetupAppWin32.h"

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <ole2.h>

#include "app/FinalCleanUp.h"
#include "app/LoadingDialogWin32.h"
#include "app/PreparatoryProgram.h"
#include "app/SetupPreparation.h"
#include "app/ShowAdPictureWin32.h"
#include "app/StartupChoices.h"
#include "install/SystemUtilities.h"
#include "platform/Processes.h"
#include "wizard/WizardFrameWin32.h"

namespace vesk {
namespace {

constexpr char kAdPicture[] = "[TempFileDir]\\~VeskInstall-AdPicture.bmp";

// Common controls and the component runtime for the user-interface thread: the wizard's tree,
// progress bar and hosted browser control need them. Undone when the run ends.
class UserInterfaceRuntime {
public:
    UserInterfaceRuntime() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        oleReady_ = SUCCEEDED(OleInitialize(nullptr));
    }
    ~UserInterfaceRuntime() {
        if (oleReady_) OleUninitialize();
    }
    UserInterfaceRuntime(const UserInterfaceRuntime&) = delete;
    UserInterfaceRuntime& operator=(const UserInterfaceRuntime&) = delete;

private:
    bool oleReady_ = false;
};

void ShowFailure(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK);
}

}  // namespace

SetupApp::SetupApp()
    : removal_(HostFileRemoval()),
      session_(HostSystemFacts(), HostRegistry(), HostPrivateFiles()),
      prompt_(session_.texts, session_.project) {
    session_.reader.SetPrompt(&prompt_);
}

SetupApp::~SetupApp() {
    FinalCleanUp();
}

void SetupApp::FinalCleanUp() {
    vesk::FinalCleanUp(
        session_.flags, session_.records, removal_,
        [this] { return session_.Resolve("[Windows Directory]"); }, session_.runFolder);
}

bool SetupApp::PrepareWizard() {
    if (!AdPictureSetting(session_.project).empty()) {
        CShowAdPicture(session_.TempNameFor(kAdPicture)).DoModal();
    }
    ProposeFolders(session_);
    if (PreparatoryProgramSetting(session_.project).empty()) return true;
    return RunPreparatoryProgram(session_, HostProcesses(), ShowFailure) != 0;
}

int SetupApp::Run() {
    UserInterfaceRuntime runtime;
    session_.flags.installOk = true;
    metrics_ = PageMetricsForDpi(ScreenDpiY());
    if (!PrepareSetup(session_)) {
        FinalCleanUp();
        return kSetupNotStarted;
    }
    // The loading dialog unpacks the start-up files; a failure there leaves setupFinished set.
    LoadingDialog(session_).DoModal();
    if (session_.flags.setupFinished) {
        FinalCleanUp();
        return kSetupNotStarted;
    }
    if (!PrepareWizard()) {
        FinalCleanUp();
        return kSetupCompleted;
    }
    {
        WizardFrame wizard(session_, metrics_, [this] { FinalCleanUp(); });
        wizard.DoModal();
    }
    // The install completed when the worker said so and nothing has undone it since.
    const bool completed = session_.flags.setupFinished && session_.flags.installOk;
    FinalCleanUp();
    return completed ? kSetupCompleted : kSetupAbandoned;
}

}  // namespace vesk
