// The registry's hives and the files of drive C as text, for the tests that check that a run
// left the machine as it was: the hives as Wine saves them (RegSaveKey, system.reg's format) with
// Wine's own timestamps taken out, the files by size and last write time.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace vesk::test {

struct MachineSnapshot {
    // "HKLM\<key>" or "HKCU\<key>" -> its value lines, as the hive file holds them (a key with
    // subkeys but no values is not listed of its own).
    std::map<std::string, std::string> keys;
    // Full path (upper case) -> "<size> <write time>".
    std::map<std::string, std::string> files;

    // HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, and every file below "C:\" except in the
    // temporary folder and the folders `passedOver` names (full paths, letter case ignored).
    static MachineSnapshot Take(const std::vector<std::string>& passedOver = {});

    // What `later` holds differently, one line each, sorted: "+ HKLM\key" (a key added),
    // "- ..." (removed), "~ ...: <before> -> <after>" (values changed), the same for files.
    std::vector<std::string> DifferencesTo(const MachineSnapshot& later) const;
};

}  // namespace vesk::test
