// Wiring the install to the host's services.
#include "install/HostInstallWin32.h"

#include <utility>

#include "install/EngineOperations.h"

namespace vesk {

HostSystem LookUpHostSystem() {
    return HostSystem{HostFileSystem(), HostShellLinks(), HostProcesses(), HostFonts()};
}

HostInstall::HostInstall(const HostSystem& system, SetupSession& session, InstallReport& report,
                         Pause pause)
    : extractor_(session.reader, session.runFolder),
      services_{system.files, system.links, system.processes, extractor_, std::move(pause)} {
    UseEngineOperations(services_, session, report, system.fonts);
}

}  // namespace vesk
