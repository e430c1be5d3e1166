// Where link files lie.
#include "install/ShortcutPlaces.h"

#include "platform/Concat.h"
#include "project/PathParts.h"

namespace vesk {
namespace {

// A folder path ending in a backslash + name; "" when the folder is unknown.
std::string Within(std::string_view folder, const std::string& name) {
    return folder.empty() ? std::string() : Concat({folder, name});
}

}  // namespace

std::string LinkBaseOf(const PathResolver& paths, const ShortcutFolders& folders,
                       const std::string& name, ShortcutLocation location, int variant) {
    std::string base;
    switch (location) {
        case ShortcutLocation::Desktop:
            base = paths.Resolve("[Desktop Directory]\\" + name);
            break;
        case ShortcutLocation::ProgramGroup:
            return Within(folders.programGroup, name);
        case ShortcutLocation::Startup:
            base = paths.Resolve("[Startup]\\" + name);
            break;
        case ShortcutLocation::QuickLaunch:
            return Within(variant == 1 ? folders.quickLaunch1 : folders.quickLaunch2, name);
    }
    // A folder the system could not name leaves its token in place: no link then, rather than
    // one in whatever folder happens to be current.
    if (base.empty() || base[0] == '[' || FolderOf(base).empty()) return std::string();
    return base;
}

}  // namespace vesk
