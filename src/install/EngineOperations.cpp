// Binding the worker's item operations.
#include "install/EngineOperations.h"

#include "install/Components.h"
#include "install/Fonts.h"
#include "install/RegistryDataFile.h"
#include "install/RunAndWait.h"

namespace vesk {

void UseEngineOperations(InstallServices& services, SetupSession& session, InstallReport& report,
                         Fonts& fonts) {
    services.applyRegistryDataFile = [&session](const std::string& path) {
        ApplyRegistryDataFile(session.SystemRegistry(), path, &session.paths);
    };
    Processes& processes = services.processes;
    services.registerComponent = [&session, &report, &processes](const std::string& value) {
        return RegisterComponent(
            value, session.paths, processes,
            [&report](const std::string& text) { report.Tell(text, kCreateProcessFailedCaption); },
            &session.records);
    };
    services.fonts = &fonts;
    services.addFont = [&fonts, &session](const std::string& path) {
        AddFont(fonts, path, &session.records);
    };
}

}  // namespace vesk
