// Installing without the wizard (Setup.exe /S): the choices its pages would have made, made by
// rule, and the install run on the calling thread.
#pragma once

#include "install/InstallReport.h"
#include "install/InstallServices.h"
#include "session/SetupSession.h"

namespace vesk {

// With the session prepared and its folders chosen: the licence counts as accepted; when the
// project shows the user information page (task 2005 with IsExec set), the registry items of its
// EditBox subtasks get the name and company Windows was registered to, as the page would have
// left them; the install folder is made with every missing parent, each folder made recorded
// for a rollback as the destination page does; then the worker runs with `services`, whose pause
// is replaced by none, and reports to `report`. A folder that cannot be made ends the run
// before the worker, as a failure (installFailed). Each step goes to the run's log; the flags
// tell how it ended.
void RunUnattendedInstall(SetupSession& session, InstallServices& services, InstallReport& report);

}  // namespace vesk
