// Small system queries shared by the engine: family code, usable drives with free space, the
// time stamp, the display's resolution, and the path splitters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/SystemFacts.h"
#include "project/OsVersion.h"
#include "project/PathParts.h"
#include "project/TimeStamp.h"

namespace vesk {

// A drive the user may install to, with its free space in whole megabytes.
struct DriveSpace {
    char letter = 0;  // upper case
    std::uint64_t freeMegabytes = 0;
};

// Fixed and removable drives except A, in the system's order; a drive whose free space cannot
// be read shows 0.
std::vector<DriveSpace> ListDrives(const SystemFacts& system);

// The local time as TimeStampText.
std::string TimeStampText(const SystemFacts& system);

// Vertical dots per inch of the display.
int ScreenDpiY(const SystemFacts& system);

// The same, asked of the running system.
int OsVersionCode();
std::vector<DriveSpace> ListDrives();
std::string TimeStampText();
int ScreenDpiY();

}  // namespace vesk
