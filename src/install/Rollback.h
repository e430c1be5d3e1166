// Undoing the changes of a run that did not complete, and letting go of the copies a completed
// one kept.
#pragma once

#include <string>
#include <vector>

#include "platform/FileRemoval.h"
#include "platform/Fonts.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "session/Change.h"

namespace vesk {

// The system as the rollback reaches it: its own seams, never journalled ones, so undoing a
// change is no new change.
struct UndoServices {
    FileRemoval& files;
    Registry& registry;
    Fonts& fonts;
    Processes& processes;
};

// The command line that registers the component `path` with the registration program
// `program` (both quoted, silent) or, with `undo`, unregisters it.
std::string RegistrationCommand(const std::string& program, const std::string& path, bool undo);

// Undoes `changes`, given in the order they were made, so that the machine is as it was:
// 1. newest first: components registered are unregistered (with the program that registered
//    them, waiting for it) and unregistered ones registered again; fonts leave the font table;
//    fonts listings, registry values, deleted keys and shared-file counts get their earlier
//    state back (a value or listing that was absent is deleted); a key the run made goes with
//    everything in it. Running programs are told once when a font changed.
// 2. folders the run removed are made again; files it wrote are deleted (the read-only
//    attribute cleared when that is what holds them), except where a file was before the run;
//    a file waiting for a restart is deleted, so the restart has nothing to put in place; each
//    file it kept or removed is put back under its name, in the order kept (when the run's own
//    file there is in use, at the restart).
// 3. a pause of 100 ms, and "C:\" is made current, so no folder of the run is.
// 4. folders the run made are removed, the last made first, each only when empty.
void RollBack(const std::vector<Change>& changes, UndoServices& services);

// After a completed install: the kept copies `copies` are deleted, a read-only one after its
// attribute is cleared, one in use when Windows next starts.
void LetGoOfCopies(const std::vector<std::string>& copies, FileRemoval& files);

}  // namespace vesk
