// Carries out an uninstall plan: removes each item in order through the system's seams, schedules
// what is in use for removal at the next restart, and tells the user what it does.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Fonts.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "uninstaller/UninstallPlan.h"
#include "uninstaller/UninstallReport.h"
#include "uninstaller/UninstallTexts.h"

namespace vesk {

// What the uninstall does to the machine goes through these.
struct UninstallServices {
    FileSystem& files;
    Registry& registry;
    Fonts& fonts;
    Processes& processes;
};

// How a run ended.
struct UninstallResult {
    std::vector<std::string> atRestart;  // files in use, removed when the system next starts
    std::vector<std::string> left;       // files that could neither be removed nor scheduled
};

class UninstallWorker {
public:
    UninstallWorker(UninstallServices& services, UninstallReport& report,
                    const UninstallTexts& texts)
        : services_(services), report_(report), texts_(texts) {}

    // Removes the plan's items in order: a file or folder that is not there is passed over; a
    // read-only file loses the attribute and goes; a file that will not go is scheduled for
    // removal at the next restart, and so is a folder
    // that will not go while it holds such a file (the system removes it then if nothing else
    // is left in it); a folder that holds anything else stays, and so does a key with anything
    // left in it where the plan asks for an empty one. A component is unregistered, waiting for
    // the registration program; running programs are told once when fonts changed. The status
    // line changes with the phase, the item line with every item, the bar after every item.
    UninstallResult Run(const UninstallPlan& plan);

private:
    void Remove(const Removal& removal, UninstallResult& result);
    void RemoveFile(const std::string& path, UninstallResult& result);
    void RemoveFolder(const std::string& path, UninstallResult& result);

    UninstallServices& services_;
    UninstallReport& report_;
    const UninstallTexts& texts_;
    bool fontsChanged_ = false;
};

}  // namespace vesk
