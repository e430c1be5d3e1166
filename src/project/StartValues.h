// The path values computed once at start-up (time stamp, the name of the run's temporary folder,
// setup path, Quick Launch candidates) and the stamped temporary names built from them.
#pragma once

#include <string>

#include "project/PathResolver.h"

namespace vesk {

struct StartValues {
    std::string startStamp;        // TimeStampText of the local time at start-up
    std::string runFolderPrefix;   // the run's temporary folder: this and random characters
    std::string setupPath;         // the running setup program
    std::string userName;          // the user the Quick Launch candidates were built for
    std::string quickLaunchPath1;  // candidate Quick Launch folders, each ending in a backslash
    std::string quickLaunchPath2;
};

struct QuickLaunchFolders {
    std::string first;
    std::string second;  // "" where the system has one Quick Launch folder only
};

// The user's Quick Launch folders, each ending in a backslash: on Windows 98 and Me the two
// candidates under the Windows folder; on every other system the one in the user's roaming
// application data ("...\Application Data\Microsoft\Internet Explorer\Quick Launch\"; none
// when the shell cannot name that folder).
QuickLaunchFolders QuickLaunchCandidates(const PathResolver& resolver, const std::string& userName);

// Takes the local time once and computes every value from it and from the system.
StartValues ComputeStartValues(const PathResolver& resolver);

// `path` with `stamp` inserted before its file name, then resolved: "[TempFileDir]\a.bmp"
// with stamp S gives the temporary folder + "\" + S + "a.bmp".
std::string TempNameFor(const std::string& path, const std::string& stamp,
                        const PathResolver& resolver);

}  // namespace vesk
