// The notes of the field reference.
#include "builder/checks/ReferenceNotes.h"

#include "project/TaskSlots.h"
#include "project/TextKey.h"

namespace vesk {
namespace {

const char* const kTaskTitles[kTaskSlotCount] = {
    "Project properties",
    "Welcome page",
    "Licence page",
    "Readme page",
    "User information page",
    "Program folder page",
    "Destination folder page",
    "Progress page",
    "Finish page that offers a restart",
    "Finish page that offers to start programs",
    "Folder binding (the sources)",
    "Add-on components",
    "Shortcuts",
    "Component registration",
    "Files deleted at the end",
    "Registry items",
    "Uninstall options",
    "Fonts",
    "Compression exclusions",
    "Icon list",
    "Folders and files",
};

const char* const kTokenNotes[] = {
    "the Windows folder's drive + :\\Program Files",
    "the destination folder (the user's choice on the destination page)",
    "the Windows folder",
    "the Windows system folder",
    "the current user's desktop",
    "nothing: the rest of the path is a whole path, such as C:\\Tools",
    "the temporary folder (start-up files are unpacked there)",
    "the all-users Programs folder of the Start menu",
    "the Startup folder in it",
    "not resolved in paths; shortcuts reach the Quick Launch bar through IsToQuickLaunch",
};

const char kWizard[] = "wizard";
const char kDiskRequest[] = "disk request";
const char kWelcome[] = "welcome page";
const char kLicence[] = "licence page";
const char kReadme[] = "readme page";
const char kUserInformation[] = "user information page";
const char kProgramFolder[] = "program folder page";
const char kDestination[] = "destination page";
const char kProgress[] = "progress page";
const char kStatus[] = "progress page, status line of the install";
const char kFinish[] = "finish page";

const char* const kKeyNotes[kTextKeyCount] = {
    "wizard caption, after the product name",
    "loading dialog",
    "",
    "write-error question of the install",
    "write-error question of the install",
    "",
    kDiskRequest,
    kDiskRequest,
    kDiskRequest,
    kDiskRequest,
    kDiskRequest,
    kDiskRequest,
    kDiskRequest,
    kWizard,
    kWizard,
    "wizard, disk request",
    kWizard,
    "cancel question",
    "cancel question",
    "product name and version (set at start-up); captions, welcome and finish pages, messages",
    kWelcome,
    kWelcome,
    kWelcome,
    kWelcome,
    kLicence,
    kLicence,
    "",
    kLicence,
    kLicence,
    kReadme,
    kReadme,
    kUserInformation,
    kUserInformation,
    "user information page; an EditBox described so receives the company",
    "user information page; an EditBox described so receives the user's name",
    "",
    kProgramFolder,
    kProgramFolder,
    kProgramFolder,
    kProgramFolder,
    kProgramFolder,
    kDestination,
    kDestination,
    kDestination,
    kDestination,
    kDestination,
    kDestination,
    kDestination,
    kDestination,
    kProgress,
    kProgress,
    kProgress,
    kStatus,
    kStatus,
    kStatus,
    kStatus,
    kStatus,
    kStatus,
    kStatus,
    kFinish,
    kFinish,
    "finish page, the restart check box",
    "caption of the install's messages",
    "completion message when no finish page follows",
    "name of the uninstall entry and shortcut",
    "",
    "destination and program folder pages: a folder name Windows cannot hold",
    "destination page: a folder that cannot be made",
};

}  // namespace

const char* TaskTitle(int slot) {
    return slot >= 0 && slot < kTaskSlotCount ? kTaskTitles[slot] : "";
}

const char* PathTokenNote(PathVariableKind kind) {
    const int index = int(kind);
    return index >= 0 && index < int(PathVariableKind::None) ? kTokenNotes[index] : "";
}

const char* TextKeyNote(int key) {
    return key >= 0 && key < kTextKeyCount ? kKeyNotes[key] : "";
}

}  // namespace vesk
