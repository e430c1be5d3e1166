// The clean-up every run of the setup ends with: the temporary files always, and everything the
// run changed when its install did not complete.
#pragma once

#include "install/Rollback.h"
#include "session/InstallRecords.h"
#include "session/RunFolder.h"
#include "session/SharedFlags.h"

namespace vesk {

// Sets setupFinished and deletes the temporary files. When the install completed
// (installCompleted), it lets go of the copies of the user's files the install overwrote or
// removed. Otherwise, however the run ended (a wizard left before the install, an install
// stopped, failed or cut short), it rolls back every change of the journal (RollBack): the
// registry, fonts, components, files and folders as they were before the run. Last, either way,
// the run's temporary folder goes with everything in it. What it did is taken out of the
// records, so a later run finds nothing left to do. `services` reach the system directly, not
// through the session's journal.
void FinalCleanUp(SharedFlags& flags, InstallRecords& records, UndoServices& services,
                  RunFolder& runFolder);

}  // namespace vesk
