// A Wine prefix at one moment, as `veskbuild try` compares it: its three registry files and the
// tree of its drive C.
#pragma once

#include <string>
#include <string_view>

#include "builder/trial/FileTree.h"
#include "builder/trial/MachineChanges.h"
#include "builder/trial/RegistryHive.h"

namespace vesk::trial {

// The registry files of a prefix and the roots their keys lie under.
struct HiveFile {
    const char* file;  // "system.reg"
    const char* root;  // "HKEY_LOCAL_MACHINE"
};
constexpr HiveFile kHiveFiles[] = {{"system.reg", "HKEY_LOCAL_MACHINE"},
                                   {"user.reg", "HKEY_CURRENT_USER"},
                                   {"userdef.reg", "HKEY_USERS\\.Default"}};
constexpr std::size_t kHiveCount = sizeof kHiveFiles / sizeof kHiveFiles[0];

class MachineState {
public:
    // Reads the registry files and drive C of the prefix at `prefix` (Wine's server must have
    // written them: it does when it ends). False with what could not be read.
    bool Capture(const std::string& prefix, std::string& error);

    // Reads one registry file's text as the hive of kHiveFiles[index]: for tests.
    bool ReadHive(std::size_t index, std::string_view text, std::string& error);

    const RegistryHive& Hive(std::size_t index) const { return hives_[index]; }
    FileTree& Tree() { return tree_; }
    const FileTree& Tree() const { return tree_; }

private:
    RegistryHive hives_[kHiveCount];
    FileTree tree_;
};

// Every registry and file change from `before` to `after`; drive C's files named "C:\...".
MachineChanges CompareMachines(const MachineState& before, const MachineState& after);

}  // namespace vesk::trial
