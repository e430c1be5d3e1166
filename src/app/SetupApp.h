// The application object: finds the payload in its own file, prepares it, and cleans up.
#pragma once

#include <memory>
#include <string>

#include "app/SetupState.h"
#include "container/ContainerReader.h"
#include "install/PageMetrics.h"
#include "platform/FileRemoval.h"
#include "project/InstallProject.h"
#include "project/LanguageTable.h"

namespace vesk {

class SetupApp {
public:
    SetupApp();
    ~SetupApp();

    // The whole run; the process exit code: 0 after a complete start-up (payload read, start-up
    // files unpacked, the preparatory program run), 1 when the payload or the start-up files
    // could not be unpacked. A preparatory program that exits with 0 ends the setup there.
    int Run();

    // Computes the start-up values, opens the setup executable, unpacks and loads the project,
    // reads the volume size and the file and folder lists, and unpacks and loads the language
    // file. False, silently, when any step fails.
    bool PrepareSetup();

    // Deletes the temporary files and, after an install that did not complete, what it wrote;
    // may run more than once.
    void FinalCleanUp();

    // The wizard's page area, chosen from the display at the start of Run.
    const PageMetrics& Metrics() const { return metrics_; }

private:
    // Steps between the loading dialog and the wizard: the program and install folders, and the
    // preparatory program. False when that program ended with 0: the setup ends without wizard.
    bool PrepareWizard();

    SetupState state_;
    // Taken first, so the clean-up of the destructor still finds it.
    FileRemoval& removal_ = HostFileRemoval();
    PageMetrics metrics_;
    std::unique_ptr<ContainerReader> reader_;
    InstallProject project_;
    TextLineList files_;
    TextLineList folders_;
};

}  // namespace vesk
