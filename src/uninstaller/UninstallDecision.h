// What the uninstaller does with the log it was started with: remove by the install's record,
// remove by the log of an install that kept no record, or remove nothing, and why.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "project/PathResolver.h"
#include "uninstaller/UninstallPlan.h"

namespace vesk {

struct UninstallDecision {
    enum class Kind {
        Remove,   // `plan` is what goes
        NoLog,    // the log is missing or damaged and no record names it: nothing goes
        Refused,  // the record names the log, but the log is not what the install wrote
    };
    Kind kind = Kind::NoLog;
    // Remove: what goes. Refused: only the product's name and version.
    UninstallPlan plan;
    // Why nothing goes, for the user.
    std::string problem;
    // Refused: the install's uninstall entry below `entryRoot` ("" when it has none), which an
    // administrator (for a user's install, the user) who confirms may still take off the list of
    // installed programs.
    std::string entryKey;
    RegistryRoot entryRoot = RegistryRoot::LocalMachine;
};

// Decides for the log at `logPath` (a full path). `paths` must have the log's folder as its
// install folder. The records are looked for in the engine's records folder of the machine, then
// in the current user's (a record names its scope, and the plan is made in it); a record that names
// the log governs: its plan (PlanFromRecord) when the log is as the install wrote it, Refused
// when it is missing or changed. Without such a record the log alone is planned (PlanUninstall)
// when it is whole, as for an install by an engine that kept no record.
UninstallDecision DecideUninstall(const FileSystem& files, const PathResolver& paths,
                                  const std::string& logPath, const std::string& uninstallDesc);

}  // namespace vesk
