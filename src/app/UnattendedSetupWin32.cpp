// The unattended run on Windows.
#include "app/UnattendedSetupWin32.h"

#include <windows.h>

#include "app/InstalledProduct.h"
#include "app/PreparatoryProgram.h"
#include "app/SetupExitCode.h"
#include "app/SetupPreparation.h"
#include "app/StartupChoices.h"
#include "app/StartupFiles.h"
#include "app/UnattendedInstall.h"
#include "install/HostInstallWin32.h"
#include "install/UnattendedReport.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"

namespace vesk {

int UnattendedSetup::Run() {
    RunLog& log = session_.log;
    const bool unpacked =
        ExtractStartupFiles(session_.reader, SessionStartupRun(session_), session_.runFolder);
    if (!unpacked) {
        log.Add(LogKind::Error,
                {"cannot unpack the start-up files: ", session_.reader.LastError()});
        return kSetupFailed;
    }
    if (FindInstalledProduct(session_, HostFileSystem()) == InstalledVersion::Newer) {
        log.Add(LogKind::Error, OlderOverNewerRefusal(session_));
        return kSetupNewerInstalled;
    }
    ProposeFolders(session_);
    if (!options_.installDir.empty()) session_.paths.SetInstallDir(options_.installDir);
    if (!RunPreparatoryProgram()) return kSetupCompleted;
    Install();
    return InstallExitCode(session_.flags, RestartFollowsInstall(session_.project));
}

bool UnattendedSetup::RunPreparatoryProgram() {
    if (PreparatoryProgramSetting(session_.project).empty()) return true;
    RunLog& log = session_.log;
    const std::string program = session_.TempNameFor(kPreparatoryProgram);
    const std::uint32_t code = vesk::RunPreparatoryProgram(
        session_, HostProcesses(), [&log, &program](const std::string&) {
            log.Add(LogKind::Error, {"cannot start the preparatory program ", program});
        });
    if (code != kCreateProcessFailed) {
        log.Add(LogKind::Setup, {"the preparatory program ended with ", std::to_string(code),
                                 code == 0 ? ": the setup ends" : ""});
    }
    return code != 0;
}

void UnattendedSetup::Install() {
    UnattendedReport report(session_.log);
    HostInstall install(LookUpHostSystem(), session_, report, nullptr);
    RunUnattendedInstall(session_, install.Services(), report);
}

}  // namespace vesk
