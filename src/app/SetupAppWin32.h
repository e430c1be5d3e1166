// The application object: the start-up sequence, the wizard, and the clean-up every run ends
// with.
#pragma once

#include "app/DiskRequestPrompt.h"
#include "app/LoadingDialogWin32.h"
#include "app/SetupCommandLine.h"
#include "app/SetupExitCode.h"
#include "app/UnattendedVolumePrompt.h"
#include "install/Rollback.h"
#include "session/SetupSession.h"
#include "wizard/PageMetrics.h"

namespace vesk {

class SetupApp {
public:
    SetupApp();
    ~SetupApp();
    SetupApp(const SetupApp&) = delete;
    SetupApp& operator=(const SetupApp&) = delete;

    // The whole run, from the command line (`arguments`, what follows the program's name) and
    // the payload to the clean-up; the process exit code (SetupExitCode). A damaged set ends it
    // with one message naming the volume (none under /S), after the clean-up, and kSetupDamaged.
    int Run(const std::string& arguments);

    // Deletes the temporary files and, unless an install completed, undoes every change the run
    // made; may run more than once.
    void FinalCleanUp();

    // The wizard's page area, chosen from the display at the start of Run.
    const PageMetrics& Metrics() const { return metrics_; }

private:
    // Reads the switches, opens the log (/LOG) and readies the session for /NORESTART and /S.
    // False when the help was shown instead: asked for with /?, or the command line was refused
    // (an unknown switch, a bad value, a log that cannot be created).
    bool TakeCommandLine(const std::string& arguments);
    // Logs how the run ended; returns `code`.
    int Ended(int code);
    // Run's steps, without the damage report and the log's last line.
    int RunSetup(const std::string& arguments);

    // Finds the installed version of the product (session.installed); when it is newer than
    // this setup's, asks whether to go back to this one, in place of the loading dialog. False
    // when the user keeps it.
    bool MayGoOverInstalledVersion(LoadingDialog& loading);
    // The advertising picture, the proposed folders and the preparatory program, each of which
    // takes the place of the loading dialog. False when that program ended with 0: the setup
    // ends without wizard.
    bool PrepareWizard(LoadingDialog& loading);

    // Taken first, so the clean-up of the destructor still finds them: the system itself, which
    // the rollback reaches past the session's journal.
    UndoServices system_;
    SetupSession session_;
    DiskRequestPrompt prompt_;
    UnattendedVolumePrompt unattendedPrompt_;
    PageMetrics metrics_;
    SetupOptions options_;
    // The finish page began a restart: no restart is pending when the setup ends.
    bool restartStarted_ = false;
};

}  // namespace vesk
