// What one uninstall removes, in which order, and what it leaves on purpose: computed from the
// install log and the records the install left in the registry, before anything is removed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "project/InstallProject.h"
#include "project/PathResolver.h"

namespace vesk {

enum class RemovalKind {
    Font,              // `path` leaves the system's font table and its listings (the file later)
    FontResource,      // `path` leaves the system's font table
    FontListing,       // the fonts listing `name` gets `value` back (none: it goes)
    Component,         // `path` is unregistered by the registration program `program`
    File,              // `path`, when it is there
    RegistryValue,     // the value `name` of the key `path` below `root`
    RegistryRestore,   // the value `name` of the key `path` below `root` gets `value` back
    RegistryTree,      // the key `path` below `root` with everything in it
    EmptyRegistryKey,  // the key `path` below `root` when nothing is left in it
    Folder,            // `path`, when it is empty
};

// Which status text the removal is shown under.
enum class RemovalPhase { Files, Registry, Folders };

struct Removal {
    RemovalKind kind = RemovalKind::File;
    RemovalPhase phase = RemovalPhase::Files;
    std::string path;  // a file or folder; a key path without leading backslash
    RegistryRoot root = RegistryRoot::LocalMachine;
    std::string name;                    // a registry value's name; a fonts listing's name
    std::optional<RegistryValue> value;  // what a value or listing gets back
    std::string program;                 // the registration program of a component
};

struct UninstallPlan {
    std::string title;          // the product's name and version
    std::string installFolder;  // the folder of the log
    // In order: fonts, shortcuts and product files; registry items, the uninstall entry and the
    // engine's values for the product; the log; folders, the deepest first.
    std::vector<Removal> removals;
    // What the log or the record names but stays, each with the reason, for the tests and the
    // curious: the shared uninstaller and its language files, another install's values.
    std::vector<std::string> kept;
};

// What the plan is computed from.
struct UninstallSource {
    const InstallProject& log;
    std::string logPath;        // full path; its folder is the install folder
    std::string uninstallDesc;  // the text the uninstall shortcut's name starts with
};

// The plan for the install of `source`. `paths` resolves the log's paths and must have the
// log's folder as its install folder; its registry is read for the records the install left
// (the program group under the version key, the product's Path and Version). Only what the log
// names goes, and only where it could have come from this install: file entries of kinds A and
// N (others were used up during the install, and kind U is shared); shortcuts of task 2404 and
// the uninstall shortcut where the install put them; registry items with IsToDelete set that
// the install wrote (never a whole root or first-level key, nor a key above the system's own
// records, which are emptied instead); the folders of task 2412, of the files inside the
// install folder, of the install folder's own path below its path variable when it is the
// project's, and of the program group, when empty, never a folder a path variable names, one
// above it, or one in the Windows folder. A path that stays relative, keeps its token or holds
// "." or ".." parts is passed over.
UninstallPlan PlanUninstall(const UninstallSource& source, const PathResolver& paths);

// The folders no uninstall removes: those the path variables of `paths` name (Program Files,
// the Windows and system folders, the desktop, the temporary folder, the Start menu's Programs
// and Startup folders) and the user's Quick Launch folders.
std::vector<std::string> GuardedFolders(const PathResolver& paths);

}  // namespace vesk
