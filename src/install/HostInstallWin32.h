// The install's services on this computer, wired in one place for the wizard's worker and for
// an unattended run.
#pragma once

#include "install/EntryExtractor.h"
#include "install/InstallReport.h"
#include "install/InstallServices.h"
#include "platform/ComPointerWin32.h"
#include "platform/FileSystem.h"
#include "platform/Fonts.h"
#include "platform/Processes.h"
#include "platform/ShellLinks.h"
#include "session/SetupSession.h"

namespace vesk {

// The system's own services the install goes through.
struct HostSystem {
    FileSystem& files;
    ShellLinks& links;
    Processes& processes;
    Fonts& fonts;
};

// Looks the host's services up. Called on the user-interface thread before an install thread
// starts, so no two threads ever make one of them first (the stub's function statics are not
// guarded).
HostSystem LookUpHostSystem();

// What one install needs on the thread it runs on: the component runtime of that thread
// (shortcuts and documents opened through the shell need it), the reader's extractor, and the
// install services bound to the engine's operations (UseEngineOperations). Made on the install's
// thread and kept while the install runs; `session`, `report` and `system` outlive it.
class HostInstall {
public:
    HostInstall(const HostSystem& system, SetupSession& session, InstallReport& report,
                Pause pause);
    HostInstall(const HostInstall&) = delete;
    HostInstall& operator=(const HostInstall&) = delete;

    InstallServices& Services() { return services_; }

private:
    ComRuntime runtime_;
    ReaderExtractor extractor_;
    InstallServices services_;
};

}  // namespace vesk
