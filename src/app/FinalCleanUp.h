// The clean-up every run of the setup ends with: the temporary files always, and what the
// install wrote when it did not complete.
#pragma once

#include <functional>
#include <string>

#include "platform/FileRemoval.h"
#include "session/InstallRecords.h"
#include "session/RunFolder.h"
#include "session/SharedFlags.h"

namespace vesk {

// Shared database-engine files a rolled-back install leaves in place, like the Windows folder.
constexpr char kBdeFolder[] = "C:\\Program Files\\Common Files\\Borland Shared\\BDE";

// Whether a rollback keeps an installed file: its upper-cased path contains the upper-cased
// Windows folder or BDE folder anywhere. An unknown (empty) Windows folder keeps every file.
bool KeptOnRollback(const std::string& path, const std::string& windowsFolder);

// Sets setupFinished and deletes the temporary files. When installOk is set, it removes the
// copies of the user's files the install overwrote. Otherwise it rolls back: deletes the
// installed files (except those kept above and those that replaced a user's file), puts every
// kept user's file back under its name, waits 100 ms, makes "C:\" current and removes the
// created folders, the last made first (a folder that is not empty stays). Last, either way, the
// run's temporary folder goes with everything in it. The records are emptied, so a later run
// finds nothing left to do. `windowsFolder` is asked only when installed files are to be judged.
void FinalCleanUp(SharedFlags& flags, InstallRecords& records, FileRemoval& files,
                  const std::function<std::string()>& windowsFolder, RunFolder& runFolder);

}  // namespace vesk
