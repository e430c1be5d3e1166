// The engine's own operations on single items of the install, handed to the worker.
#pragma once

#include "install/InstallReport.h"
#include "install/InstallServices.h"
#include "platform/Fonts.h"
#include "session/SetupSession.h"

namespace vesk {

// Registry data files go to the session's registry, components start through
// `services.processes` (a program that cannot be started is told through `report`), fonts are
// added through `fonts`. The objects must outlive the worker's run.
void UseEngineOperations(InstallServices& services, SetupSession& session, InstallReport& report,
                         Fonts& fonts);

}  // namespace vesk
