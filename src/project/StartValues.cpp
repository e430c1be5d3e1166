// Start-up path values and stamped temporary names.
#include "project/StartValues.h"

#include <utility>

#include "platform/Concat.h"
#include "project/OsVersion.h"
#include "project/PathParts.h"
#include "project/TimeStamp.h"

namespace vesk {
namespace {

constexpr char kQuickLaunchTail[] = "\\Microsoft\\Internet Explorer\\Quick Launch\\";

}  // namespace

QuickLaunchFolders QuickLaunchCandidates(const PathResolver& resolver,
                                         const std::string& userName) {
    QuickLaunchFolders folders;
    if (IsWin98OrMe(OsVersionCode(resolver.System()))) {
        const std::string windows = resolver.System().WindowsFolder();
        folders.first = Concat({windows, "\\Application Data", kQuickLaunchTail});
        folders.second =
            Concat({windows, "\\Profiles\\", userName, "\\Application Data", kQuickLaunchTail});
        return folders;
    }
    // Every system since Windows 2000 keeps Quick Launch in the user's roaming application data,
    // and only there.
    if (const std::optional<std::string> appData = resolver.System().AppDataFolder()) {
        folders.first = Concat({*appData, kQuickLaunchTail});
    }
    return folders;
}

StartValues ComputeStartValues(const PathResolver& resolver) {
    StartValues values;
    values.startStamp = TimeStampText(resolver.System().LocalTime());
    values.runFolderPrefix = Concat({"~VeskInstall-", values.startStamp, "-"});
    values.userName = resolver.System().UserName();
    QuickLaunchFolders quickLaunch = QuickLaunchCandidates(resolver, values.userName);
    values.quickLaunchPath1 = std::move(quickLaunch.first);
    values.quickLaunchPath2 = std::move(quickLaunch.second);
    values.setupPath = resolver.System().ModuleFileName();
    return values;
}

std::string TempNameFor(const std::string& path, const std::string& stamp,
                        const PathResolver& resolver) {
    return resolver.Resolve(FolderWithSlashOf(path) + stamp + FileNameOf(path));
}

}  // namespace vesk
