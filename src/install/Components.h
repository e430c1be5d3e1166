// Components of task 2405: registered, run or opened according to their extension.
#pragma once

#include <string>

#include "install/RunAndWait.h"
#include "platform/Processes.h"
#include "project/PathResolver.h"
#include "session/InstallRecords.h"

namespace vesk {

// The system's registration program, as a project path.
constexpr char kRegistrationProgram[] = "[System Directory]\\Regsvr32.exe";

// Handles one value of task 2405 by the extension of its file name, in any letter case; the path
// token of `value` is resolved through `paths`.
// - OCX, DLL: registered silently. Regsvr32.exe, named by its full path in the system folder, is
//   started with the component's path quoted and /s, in the component's folder (so libraries
//   beside it are found), and waited for, so a rollback never races it; its result is not
//   checked. With `records`, the registration is journalled first (a rollback unregisters it).
// - EXE: run and waited for (RunAndWait: quoted; `notice` when it cannot be started).
// - Anything else: opened with the shell's default verb, no parameters, not waited for.
// True only in the last case, whether or not the shell could open it: the worker's cancel check
// follows only such an item.
bool RegisterComponent(const std::string& value, const PathResolver& paths, Processes& processes,
                       const FailureNotice& notice, InstallRecords* records = nullptr);

}  // namespace vesk
