// The uninstaller's run.
#include "uninstaller/UninstallAppWin32.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "install/RegistryErasure.h"
#include "platform/FileSystem.h"
#include "platform/Fonts.h"
#include "platform/ParentConsole.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/SystemFacts.h"
#include "platform/WideTextWin32.h"
#include "project/LanguageTable.h"
#include "project/PathParts.h"
#include "project/PathResolver.h"
#include "uninstaller/UnInstallDlgWin32.h"
#include "uninstaller/UninstallCommand.h"
#include "uninstaller/UninstallDecision.h"
#include "uninstaller/UninstallLog.h"
#include "uninstaller/UninstallOutcome.h"
#include "uninstaller/UninstallPlan.h"
#include "uninstaller/UninstallTexts.h"

namespace vesk {
namespace {

// The texts of the language file the install kept, the one of the user's language first, then the
// system's locale's: beside the uninstaller (a user's install keeps both in the user's engine
// folder), else in the system folder (an install for the machine).
void KeepLanguageFile(const SystemFacts& system, UninstallTexts& texts) {
    const std::string folders[] = {FolderOf(system.ModuleFileName()) + "\\",
                                   system.SystemFolder() + UninstallTexts::kKeptFolder};
    for (const std::string& folder : folders) {
        for (const std::string& name : {UninstallTexts::KeptFileName(system.UserLanguageId()),
                                        UninstallTexts::KeptFileName(system.DefaultLocaleId()),
                                        std::string(UninstallTexts::kFallbackFileName)}) {
            TextLineList lines;
            if (lines.ReadFile(folder + name)) {
                // Kept by this engine: UTF-8 after a byte order mark; by an earlier one: the code
                // page of the language the file is named after.
                lines.Decode(SectionCodePage("[Language=" + name.substr(0, name.find('.')) + "]"));
                texts.Keep(lines);
                return;
            }
        }
    }
}

// A log path given relative to the current folder, made whole: its folder is the install folder.
std::string FullPathOf(const std::string& path) {
    const WideText wide = Wide(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    WideText full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size) return path;
    return Narrow(full.data(), length);
}

void Tell(const std::string& text, const std::string& caption, UINT icon) {
    MessageBoxUtf8(nullptr, text, caption, MB_OK | icon);
}

// A question with Yes and No, No the default; true for Yes.
bool Ask(const std::string& text, const std::string& caption) {
    return MessageBoxUtf8(nullptr, text, caption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
           IDYES;
}

}  // namespace

int UninstallApp::Run(const std::string& commandLine) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const SystemFacts& system = HostSystemFacts();
    UninstallTexts texts(system.DefaultLocaleId());
    KeepLanguageFile(system, texts);
    const std::string caption = texts.Get(UninstallText::UnInstallWindowSubject);

    const UninstallCommand command = ParseUninstallCommand(ArgumentsOf(commandLine));
    // A wrong line is the caller's mistake: it is shown, on the console under /S.
    if (!command.error.empty()) {
        const std::string text = command.error + "\r\n\r\n" + UninstallUsage();
        if (command.silent) {
            WriteToParentConsole(text);
        } else {
            Tell(text, caption, MB_ICONERROR);
        }
        return kUninstallHelpShown;
    }
    if (command.help) {
        if (command.silent) {
            WriteToParentConsole(UninstallUsage());
        } else {
            Tell(UninstallUsage(), caption, MB_ICONINFORMATION);
        }
        return kUninstallHelpShown;
    }

    FileSystem& files = HostFileSystem();
    const std::string logPath = FullPathOf(command.logPath);
    PathResolver paths(system, HostRegistry(), FolderOf(logPath));
    const UninstallDecision decision =
        DecideUninstall(files, paths, logPath, texts.Get(UninstallText::UnInstallDesc));
    switch (decision.kind) {
        case UninstallDecision::Kind::NoLog:
            if (!command.silent) Tell(decision.problem, caption, MB_ICONERROR);
            return kUninstallFailed;
        case UninstallDecision::Kind::Refused:
            if (command.silent) return kUninstallRecordRefused;
            if (decision.entryKey.empty()) {
                Tell(decision.problem, caption, MB_ICONERROR);
            } else if (Ask(decision.problem + "\r\n\r\n" + RemoveEntryQuestion(decision.plan.title),
                           caption)) {
                EraseRegistryTree(HostRegistry(), decision.entryRoot, decision.entryKey);
            }
            return kUninstallRecordRefused;
        case UninstallDecision::Kind::Remove:
            break;
    }
    // Nothing is removed through a link planted in the install folder.
    if (!decision.plan.installFolder.empty()) files.GuardFolder(decision.plan.installFolder);
    UninstallServices services{files, HostRegistry(), HostFonts(), HostProcesses()};
    if (command.silent) {
        SilentReport report;
        return ExitCodeOf(UninstallWorker(services, report, texts).Run(decision.plan));
    }
    return CUnInstallDlg(decision.plan, texts, services).DoModal();
}

}  // namespace vesk
