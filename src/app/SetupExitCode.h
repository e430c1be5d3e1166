// What a run of Setup.exe ends with, as the process exit code, and how the end of an install
// maps to one.
#pragma once

#include "project/InstallProject.h"
#include "session/SharedFlags.h"

namespace vesk {

enum SetupExitCode : int {
    kSetupCompleted = 0,  // installed, or a preparatory program ended the setup as planned
    kSetupFailed = 1,     // the payload or a volume could not be read, or a file not written
    kSetupCancelled = 2,  // the user left the wizard or stopped the install
    kSetupHelpShown = 3,  // /? or a refused command line: the switches were shown, nothing done
    kSetupDamaged = 4,    // the payload is damaged or its volumes do not belong together
    kSetupNewerInstalled = 5,      // /S: a newer version of the product is installed; nothing done
    kSetupRestartRequired = 3010,  // installed; the product needs a restart the setup did not make
};

// Whether the product asks for a restart once installed: the page that follows the progress
// page in the project's page order is the restart finish page (task 2009).
bool RestartFollowsInstall(const InstallProject& project);

// What the code says, for the log: "installed", "failed", "cancelled by the user" ...
const char* ExitCodeMeaning(int code);

// The exit code once the install has ended or the wizard has closed, read before the final
// clean-up: a completed install (setupFinished and installOk) gives kSetupRestartRequired when
// `restartPending` (the product asks for a restart and the setup did not start one) or a file in
// use waits for the restart (restartNeeded), else kSetupCompleted; any other end gives kSetupFailed
// when installFailed is set, else kSetupCancelled.
SetupExitCode InstallExitCode(const SharedFlags& flags, bool restartPending);

}  // namespace vesk
