// The application object: the start-up sequence, the wizard, and the clean-up every run ends
// with.
#pragma once

#include "app/DiskRequestPrompt.h"
#include "platform/FileRemoval.h"
#include "session/SetupSession.h"
#include "wizard/PageMetrics.h"

namespace vesk {

// What a run of the setup ends with, as the process exit code.
enum SetupExitCode : int {
    kSetupCompleted = 0,   // installed, or a preparatory program ended the setup as planned
    kSetupNotStarted = 1,  // the payload or the start-up files could not be unpacked
    kSetupAbandoned = 2,   // the user left the wizard, or the install ended early
    kSetupDamaged = 3,     // the payload is damaged or its volumes do not belong together
};

class SetupApp {
public:
    SetupApp();
    ~SetupApp();
    SetupApp(const SetupApp&) = delete;
    SetupApp& operator=(const SetupApp&) = delete;

    // The whole run, from the payload to the clean-up; the process exit code. A damaged set
    // ends it with one message naming the volume, after the clean-up, and kSetupDamaged.
    int Run();

    // Deletes the temporary files and, after an install that did not complete, what it wrote;
    // may run more than once.
    void FinalCleanUp();

    // The wizard's page area, chosen from the display at the start of Run.
    const PageMetrics& Metrics() const { return metrics_; }

private:
    // Run's steps, without the damage report.
    int RunSetup();

    // The advertising picture, the proposed folders and the preparatory program. False when
    // that program ended with 0: the setup ends without wizard.
    bool PrepareWizard();

    // Taken first, so the clean-up of the destructor still finds it.
    FileRemoval& removal_;
    SetupSession session_;
    DiskRequestPrompt prompt_;
    PageMetrics metrics_;
};

}  // namespace vesk
