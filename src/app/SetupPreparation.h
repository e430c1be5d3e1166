// The steps of start-up that need no window: the payload unpacked and loaded into the session,
// and the values the wizard starts from.
#pragma once

#include "session/SetupSession.h"

namespace vesk {

// Computes the start values, opens the setup executable named by them, unpacks and loads the
// project, reads the volume size, the bodies' method and the file and folder lists, unpacks and
// loads the language file (entry 0) and sets the text ProjectName to the product's name and
// version. Every file it unpacks is recorded as temporary. False, silently, when any step fails;
// a damaged set (a checksum, a project or language file past its bound, overlapping bodies, a
// body method this engine does not know) is then named by the reader's DamagedVolume.
bool PrepareSetup(SetupSession& session);

// The program folder and the install folder the wizard proposes: the project's, or for the
// install folder the one an earlier install of the product left in the registry.
void ProposeFolders(SetupSession& session);

}  // namespace vesk
