// Start-up of the engine: the payload, the windows before the wizard, the wizard, the clean-up.
#include "app/SetupAppWin32.h"

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <ole2.h>

#include <cctype>

#include "app/CommandLineHelpWin32.h"
#include "app/InstalledProduct.h"
#include "app/LoadingDialogWin32.h"
#include "app/PreparatoryProgram.h"
#include "app/SetupPreparation.h"
#include "app/ShowAdPictureWin32.h"
#include "app/StartupChoices.h"
#include "app/UnattendedSetupWin32.h"
#include "install/FinalCleanUp.h"
#include "install/RunAndWait.h"
#include "install/SystemUtilities.h"
#include "platform/Fonts.h"
#include "platform/LastResort.h"
#include "platform/ParentConsole.h"
#include "platform/Processes.h"
#include "platform/WideTextWin32.h"
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
    MessageBoxUtf8(nullptr, text, "Error", MB_OK);
}

}  // namespace

SetupApp::SetupApp()
    : system_{HostFileRemoval(), HostRegistry(), HostFonts(), HostProcesses()},
      session_(HostSystemFacts(), HostRegistry(), HostPrivateFiles()),
      prompt_(session_.texts, session_.project),
      unattendedPrompt_(session_.log, session_.reader) {
    session_.reader.SetPrompt(&prompt_);
    // Should memory run out or the library stop the run, the clean-up still happens.
    SetLastResort([](void* app) { static_cast<SetupApp*>(app)->FinalCleanUp(); }, this);
}

SetupApp::~SetupApp() {
    FinalCleanUp();
    SetLastResort(nullptr, nullptr);
}

void SetupApp::FinalCleanUp() {
    vesk::FinalCleanUp(session_.flags, session_.records, system_, session_.runFolder);
}

bool SetupApp::PrepareWizard(LoadingDialog& loading) {
    if (!AdPictureSetting(session_.project).empty()) {
        loading.Close();
        CShowAdPicture(session_.TempNameFor(kAdPicture)).DoModal();
    }
    ProposeFolders(session_);
    if (!options_.installDir.empty()) session_.paths.SetInstallDir(options_.installDir);
    if (PreparatoryProgramSetting(session_.project).empty()) return true;
    loading.Close();
    return RunPreparatoryProgram(session_, HostProcesses(), ShowFailure) != 0;
}

bool SetupApp::MayGoOverInstalledVersion(LoadingDialog& loading) {
    const InstalledVersion installed = FindInstalledProduct(session_, HostFileSystem());
    if (installed == InstalledVersion::None) return true;
    session_.log.Add(LogKind::Setup, {"installed: ", session_.installed->title});
    if (installed != InstalledVersion::Newer) return true;
    const std::string question = OlderOverNewerQuestion(session_);
    loading.Close();
    if (MessageBoxUtf8(nullptr, question, "Setup",
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES) {
        session_.log.Add(LogKind::Setup, "an older version goes over the installed one");
        return true;
    }
    session_.log.Add(LogKind::Result, "the user keeps the newer version");
    return false;
}

bool SetupApp::TakeCommandLine(const std::string& arguments) {
    const ParsedCommandLine parsed = ParseSetupCommandLine(arguments);
    options_ = parsed.options;
    std::string problem = parsed.error;
    if (problem.empty() && !options_.logPath.empty() && !session_.log.Open(options_.logPath)) {
        problem = "The log file cannot be created: " + options_.logPath;
    }
    if (!problem.empty() || options_.help) {
        if (!problem.empty()) {
            // The log the line asked for, when that much of it could be read.
            if (!parsed.error.empty() && !options_.logPath.empty()) {
                session_.log.Open(options_.logPath);
            }
            session_.log.Add(LogKind::Error, {"command line refused: ", problem});
        }
        // Under /S no window waits for a click: the help goes to the console that started us.
        const std::string help = SetupCommandLineHelp(ReadSetupScope(session_));
        if (options_.silent) {
            WriteToParentConsole(problem.empty() ? help : problem + "\r\n\r\n" + help);
        } else {
            ShowCommandLineHelp(problem, help);
        }
        return false;
    }
    session_.ChooseLanguage(HostSystemFacts(), options_.languageId);
    session_.noRestart = options_.noRestart || options_.silent;
    // Nobody can insert a disk in an unattended run, not even for the language file.
    if (options_.silent) session_.reader.SetPrompt(&unattendedPrompt_);
    session_.log.Add(LogKind::Setup,
                     {options_.silent ? "unattended" : "wizard", ", command line: ", arguments});
    return true;
}

int SetupApp::Ended(int code) {
    session_.log.Add(LogKind::Result,
                     {ExitCodeMeaning(code), " (exit code ", std::to_string(code), ")"});
    return code;
}

int SetupApp::Run(const std::string& arguments) {
    int code = RunSetup(arguments);
    const std::string& damaged = session_.reader.DamagedVolume();
    if (!damaged.empty()) {
        std::string text = DamagedSetupMessage(damaged);
        text[0] = char(std::toupper(static_cast<unsigned char>(text[0])));
        session_.log.Add(LogKind::Error, text);
        if (!options_.silent) {
            MessageBoxUtf8(nullptr, text, "Setup", MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
        }
        code = kSetupDamaged;
    }
    return Ended(code);
}

int SetupApp::RunSetup(const std::string& arguments) {
    UserInterfaceRuntime runtime;
    if (!TakeCommandLine(arguments)) return kSetupHelpShown;
    session_.flags.installOk = true;
    metrics_ = PageMetricsForDpi(ScreenDpiY());
    // On screen at once, before the setup's check, and until the first window of the setup
    // proper replaces it: the user never waits in front of nothing.
    LoadingDialog loading(session_);
    if (!options_.silent) loading.Show();
    const Status prepared = PrepareSetup(session_);
    if (!prepared) {
        loading.Close();
        session_.log.Add(LogKind::Error, {"cannot read the setup: ", prepared.Reason()});
        FinalCleanUp();
        return kSetupFailed;
    }
    session_.log.Add(LogKind::Setup, {session_.texts.GetText(TextKey::ProjectName), " from ",
                                      session_.start.setupPath});
    if (options_.silent) {
        const int code = UnattendedSetup(session_, options_).Run();
        FinalCleanUp();
        return code;
    }
    loading.ShowText();
    if (!loading.UnpackStartupFiles()) {
        loading.Close();
        FinalCleanUp();
        return kSetupFailed;
    }
    if (!MayGoOverInstalledVersion(loading)) {
        FinalCleanUp();
        return kSetupCancelled;
    }
    if (!PrepareWizard(loading)) {
        FinalCleanUp();
        return kSetupCompleted;
    }
    {
        WizardFrame wizard(
            session_, metrics_,
            [this] {
                restartStarted_ = true;
                FinalCleanUp();
            },
            [&loading] { loading.Close(); });
        wizard.DoModal();
    }
    loading.Close();  // a wizard that could not be shown
    // Read before the clean-up, which sets setupFinished whatever happened.
    const int code = InstallExitCode(session_.flags,
                                     RestartFollowsInstall(session_.project) && !restartStarted_);
    FinalCleanUp();
    return code;
}

}  // namespace vesk
