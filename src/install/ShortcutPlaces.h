// Where the link files of a shortcut lie: one rule for the install that makes them and the
// uninstaller that removes them.
#pragma once

#include <string>
#include <string_view>

#include "project/FieldKind.h"
#include "project/PathResolver.h"

namespace vesk {

// The extension the engine gives its link files.
constexpr char kLinkExtension[] = ".Lnk";

// Where a link file goes; the numbers are the engine's vocabulary.
enum class ShortcutLocation : int {
    Desktop = 4,
    ProgramGroup = 7,
    Startup = 8,
    QuickLaunch = 9,  // two folders: variant 0 and variant 1
};

// Where a CreateShortcutMenu subtask's flag puts its shortcut: the places in the order the
// install makes them, Quick Launch with both folders.
struct ShortcutPlace {
    FieldKind flag;
    ShortcutLocation location;
    int variant;
};
constexpr ShortcutPlace kShortcutPlaces[] = {
    {FieldKind::IsToFileLinkGroup, ShortcutLocation::ProgramGroup, 0},
    {FieldKind::IsToDesktop, ShortcutLocation::Desktop, 0},
    {FieldKind::IsToStartup, ShortcutLocation::Startup, 0},
    {FieldKind::IsToQuickLaunch, ShortcutLocation::QuickLaunch, 0},
    {FieldKind::IsToQuickLaunch, ShortcutLocation::QuickLaunch, 1},
};

// The folders a shortcut may go to besides those the path variables name; views of texts the
// caller keeps.
struct ShortcutFolders {
    std::string_view programGroup;  // absolute, ending in a backslash; "" when there is none
    std::string_view quickLaunch1;  // the Quick Launch candidates, each ending in a backslash
    std::string_view quickLaunch2;
};

// The link file's path without ".Lnk" for the shortcut `name` at `location` (the Quick Launch
// folder of `variant`: 1 the first candidate, any other the second); "" when the location has
// no folder, or when the system could not name it (its token would stay in the path).
std::string LinkBaseOf(const PathResolver& paths, const ShortcutFolders& folders,
                       const std::string& name, ShortcutLocation location, int variant);

}  // namespace vesk
