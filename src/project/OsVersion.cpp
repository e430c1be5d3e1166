// Mapping the system's version answers to the family code.
#include "project/OsVersion.h"

namespace vesk {

int OsVersionCode(const SystemFacts& system) {
    constexpr std::uint32_t kNotNtBit = 0x80000000u;
    std::uint32_t packed = system.PackedVersion();
    if (packed & kNotNtBit) {
        if ((packed & 0xFF) < 4) return kOsWin32s;
        std::optional<VersionNumbers> version = system.ExtendedVersion();
        if (!version || version->major != 4) return kOsWin95;
        if (version->minor == 10) return kOsWin98;
        if (version->minor == 90) return kOsWinMe;
        return kOsWin95;
    }
    std::optional<VersionNumbers> version = system.ExtendedVersion();
    if (!version) return kOsNtOther;
    if (version->major == 4) return kOsNt4;
    if (version->major == 5 && version->minor == 0) return kOsWin2000;
    if (version->major == 5 && version->minor == 1) return kOsWinXp;
    return kOsNtOther;
}

}  // namespace vesk
