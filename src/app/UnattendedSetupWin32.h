// Setup.exe /S on Windows: after the payload is read, the start-up files, the preparatory
// program and the install, without a window of the engine's own.
#pragma once

#include "app/SetupCommandLine.h"
#include "session/SetupSession.h"

namespace vesk {

class UnattendedSetup {
public:
    UnattendedSetup(SetupSession& session, const SetupOptions& options)
        : session_(session), options_(options) {}

    // From a prepared session to the install's end; the exit code. The start-up files are
    // unpacked without the loading dialog; a newer version of the product installed refuses the
    // setup (kSetupNewerInstalled, the reason logged); the advertising picture is not shown; the
    // preparatory program runs as in the wizard (ending the setup when it returns 0); the
    // folders are the proposed ones, /D= replacing the install folder; the install runs on this
    // thread (RunUnattendedInstall) with the host's services. The restart a product asks for is
    // never made (kSetupRestartRequired). The final clean-up is the caller's.
    int Run();

private:
    // The preparatory program; false when it ended the setup (exit code 0).
    bool RunPreparatoryProgram();
    void Install();

    SetupSession& session_;
    const SetupOptions& options_;
};

}  // namespace vesk
