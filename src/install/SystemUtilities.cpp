// System queries over the SystemFacts seam.
#include "install/SystemUtilities.h"

namespace vesk {

std::vector<DriveSpace> ListDrives(const SystemFacts& system) {
    constexpr int kMegabyteShift = 20;
    std::vector<DriveSpace> drives;
    for (const std::string& root : system.LogicalDrives()) {
        if (root.empty()) continue;
        char letter = root[0];
        if (letter >= 'a' && letter <= 'z') letter = char(letter - 'a' + 'A');
        if (letter == 'A') continue;  // the floppy drive is never offered
        DriveType type = system.TypeOfDrive(root);
        if (type != DriveType::Fixed && type != DriveType::Removable) continue;
        std::uint64_t freeBytes = system.FreeBytes(root).value_or(0);
        drives.push_back(DriveSpace{letter, freeBytes >> kMegabyteShift});
    }
    return drives;
}

std::string TimeStampText(const SystemFacts& system) {
    return TimeStampText(system.LocalTime());
}

int ScreenDpiY(const SystemFacts& system) {
    return system.DisplayDpiY();
}

int OsVersionCode() {
    return OsVersionCode(HostSystemFacts());
}

std::vector<DriveSpace> ListDrives() {
    return ListDrives(HostSystemFacts());
}

std::string TimeStampText() {
    return TimeStampText(HostSystemFacts());
}

int ScreenDpiY() {
    return ScreenDpiY(HostSystemFacts());
}

}  // namespace vesk
