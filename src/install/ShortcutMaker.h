// The install's shortcuts: those of a CreateShortcutMenu subtask (task 2404) and the uninstall
// shortcut, each saved through the shell's link service and recorded for a rollback.
#pragma once

#include <string>

#include "install/InstallContext.h"
#include "install/ShortcutPlaces.h"
#include "project/SubTask.h"

namespace vesk {

class ShortcutMaker {
public:
    explicit ShortcutMaker(InstallContext& context) : context_(context) {}

    // The subtask's shortcuts to Folder\File with Parameter and IconFile: in the program group,
    // on the desktop, in the startup folder and in both Quick Launch folders, as its flags ask.
    // A missing field counts as empty text, a missing flag as not set.
    void CreateShortcuts(const SubTask& subtask);

    // One link file named `name` + ".Lnk" at `location` (the Quick Launch folder of `variant`),
    // to `target` with `arguments` (may be empty), working in the target's folder, showing
    // `icon` (empty: the target's own). Nothing is made where the location has no folder (the
    // program group while the program folder is empty). A user's file of that name is kept
    // first; the link file is recorded before it is saved. Failures are silent but logged.
    void CreateShellLink(const std::string& name, const std::string& target,
                         const std::string& arguments, const std::string& icon,
                         ShortcutLocation location, int variant);

    // The link file's path without ".Lnk"; "" when the location has no folder.
    std::string LinkBase(const std::string& name, ShortcutLocation location, int variant) const;

private:
    InstallContext& context_;
};

}  // namespace vesk
