// The application object: finds the payload in its own file, prepares it, and cleans up.
#pragma once

#include <memory>
#include <string>

#include "app/SetupState.h"
#include "container/ContainerReader.h"
#include "project/InstallProject.h"
#include "project/LanguageTable.h"

namespace vesk {

class SetupApp {
public:
    SetupApp();
    ~SetupApp();

    // The whole run; the process exit code: 0 after a complete start-up (payload read, start-up
    // files unpacked), 1 when it failed.
    int Run();

    // Computes the start-up values, opens the setup executable, unpacks and loads the project,
    // reads the volume size and the file and folder lists, and unpacks and loads the language
    // file. False, silently, when any step fails.
    bool PrepareSetup();

    // Deletes the temporary files; may run more than once.
    void FinalCleanUp();

private:
    SetupState state_;
    std::unique_ptr<ContainerReader> reader_;
    InstallProject project_;
    TextLineList files_;
    TextLineList folders_;
};

}  // namespace vesk
