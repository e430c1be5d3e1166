// The operating-system family code the engine decides by (Start menu and Quick Launch folders).
#pragma once

#include "platform/SystemFacts.h"

namespace vesk {

constexpr int kOsWin32s = 0;   // 16-bit Windows with the 32-bit extension
constexpr int kOsNtOther = 1;  // NT family not listed below (also Vista and later)
constexpr int kOsWin95 = 2;    // other 9x releases
constexpr int kOsWin98 = 3;    // 9x 4.10
constexpr int kOsWinMe = 4;    // 9x 4.90
constexpr int kOsNt4 = 5;      // NT 4
constexpr int kOsWin2000 = 6;  // NT 5.0
constexpr int kOsWinXp = 7;    // NT 5.1

// Decides from the packed version number and, where needed, the extended version record.
int OsVersionCode(const SystemFacts& system);

// Windows 98 and Me keep per-machine Start menu and Quick Launch folders under the Windows folder.
inline bool IsWin98OrMe(int code) {
    return code == kOsWin98 || code == kOsWinMe;
}

}  // namespace vesk
