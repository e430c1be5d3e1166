// Mapping the end of a run to its exit code.
#include "app/SetupExitCode.h"

#include "project/TaskSlots.h"
#include "runtime/RuntimeFailure.h"

namespace vesk {

static_assert(kSetupFailed == kRuntimeFailureExitCode,
              "a program whose runtime cannot go on ends the setup as failed");

bool RestartFollowsInstall(const InstallProject& project) {
    const std::string progress = TaskIdForSlot(kSlotProgress);
    bool afterProgress = false;
    for (std::size_t index : project.PageOrder()) {
        const Task& task = project.TaskAt(index);
        if (afterProgress) return task.Id() == TaskIdForSlot(kSlotFinish1);
        afterProgress = task.Id() == progress;
    }
    return false;
}

const char* ExitCodeMeaning(int code) {
    switch (code) {
        case kSetupCompleted:
            return "installed";
        case kSetupFailed:
            return "failed";
        case kSetupCancelled:
            return "cancelled by the user";
        case kSetupHelpShown:
            return "help shown, nothing installed";
        case kSetupDamaged:
            return "the setup is damaged";
        case kSetupNewerInstalled:
            return "a newer version is installed, nothing installed";
        case kSetupRestartRequired:
            return "installed, a restart is required";
        default:
            return "unknown end";
    }
}

SetupExitCode InstallExitCode(const SharedFlags& flags, bool restartPending) {
    if (flags.setupFinished && flags.installOk) {
        return restartPending || flags.restartNeeded ? kSetupRestartRequired : kSetupCompleted;
    }
    return flags.installFailed ? kSetupFailed : kSetupCancelled;
}

}  // namespace vesk
