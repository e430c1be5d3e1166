// Removing temporary files and rolling back a run that did not complete.
#include "install/FinalCleanUp.h"

namespace vesk {

void FinalCleanUp(SharedFlags& flags, InstallRecords& records, UndoServices& services,
                  RunFolder& runFolder) {
    // Read before setupFinished, which the worker sets too when it completes.
    const bool completed = flags.installCompleted;
    // First, so an extraction in progress and the worker's file phase stop.
    flags.setupFinished = true;
    for (const std::string& path : records.TakeTempFiles()) services.files.RemoveFile(path);
    if (completed) {
        LetGoOfCopies(records.TakeKeptCopies(), services.files);
    } else {
        RollBack(records.TakeChanges(), services);
    }
    runFolder.Remove();
}

}  // namespace vesk
