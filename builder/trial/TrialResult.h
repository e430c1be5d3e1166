// What one `veskbuild try` run found: the walks through the install and the removal, what the
// install did, what stayed, and the findings that make the run fail.
#pragma once

#include <string>
#include <vector>

#include "builder/trial/InstallReading.h"
#include "builder/trial/MachineChanges.h"
#include "builder/trial/WalkAccount.h"

namespace vesk::trial {

struct TrialResult {
    std::string setupPath;  // the setup tried (host path)
    bool silent = false;    // run with /S and the quiet uninstall command
    int dpi = 0;
    WalkAccount install;  // the walk through the setup
    WalkAccount removal;  // the walk through the uninstaller
    bool removalRan = false;
    InstallReading installed;
    Leftovers leftovers;
    MachineChanges winesInstall;  // Wine's own changes taken out of the install's
    MachineChanges winesRemoval;  // ... and out of the removal's
    std::string pictures;         // the pictures folder, relative to the report
    double seconds = 0;
};

// What makes a run fail, one sentence each.
struct Findings {
    // What went wrong: a walk that could not go on, a setup or uninstaller that failed, a window
    // of an unattended run, a shortcut the link service cannot read, no uninstall entry.
    std::vector<std::string> failures;
    // What stayed behind (after the removal, or after a setup that failed), but the engine's
    // shared records. A key is named only when nothing below it is: a value left names its keys.
    std::vector<std::string> traces;

    bool Empty() const { return failures.empty() && traces.empty(); }
    // The failures, then the traces.
    std::vector<std::string> All() const;
};

// None: the product installs and goes without a trace.
Findings ListFindings(const TrialResult& result);

// Whether an exit code of the setup says it installed (0, or 3010: a restart is asked for).
bool Installed(long setupExit);
// Whether an exit code of the uninstaller says it removed the product (0, or 3010: files go at
// the restart).
bool Removed(long uninstallerExit);

}  // namespace vesk::trial
