// The install worker: the phases of the install, run on their own thread once the user has
// walked the wizard to the progress page.
#pragma once

#include "install/InstallContext.h"
#include "install/InstallReport.h"
#include "install/InstallServices.h"
#include "session/SetupSession.h"

namespace vesk {

// Runs the phases in their fixed order (folders, files, fonts, registry items, components,
// files to remove, shortcuts, the uninstall record), each announced on the status line and
// followed by a pause, watches for the user's Cancel between items, and ends by telling the
// report whether the install completed. Every phase and item goes to the run's log. Touches no
// window and no system directly: everything the user sees goes through the report, everything done
// to the machine through the services.
class InstallWorker {
public:
    InstallWorker(SetupSession& session, InstallReport& report, InstallServices& services)
        : context_(session, report, services) {}

    // The whole install; returns when the report has been told the outcome.
    void Run();

    static constexpr int kPhasePauseMs = vesk::kPhasePauseMs;
    static constexpr int kItemPauseMs = vesk::kItemPauseMs;

private:
    // Announces a phase (`name` in the log), runs its items, answers a Cancel still pending,
    // pauses; false when the install stopped during it.
    template <typename Items>
    bool RunPhase(TextKey status, const char* name, Items items);

    // Keeps links out of the install folder for the rest of the run and protects the folders
    // made for it.
    void GuardInstallFolder();
    void CreateFolders();
    void AddFonts();
    void ApplyRegistryItems();
    void RegisterComponents();
    void ClearFiles();
    void CreateShortcuts();

    InstallContext context_;
};

}  // namespace vesk
