// What an install did to a prefix, sorted for the report: files, folders, shortcuts, fonts,
// registry values and the uninstall entry; and what stayed once the product was removed.
#pragma once

#include <string>
#include <vector>

#include "builder/trial/MachineChanges.h"

namespace vesk::trial {

struct UninstallEntryView {
    std::string key;   // the entry's whole key
    std::string name;  // its name below Uninstall
    std::vector<RegistryChange> values;
};

struct InstallReading {
    std::vector<FileChange> files;                     // product files written, changed or removed
    std::vector<FileChange> folders;                   // folders made or removed
    std::vector<FileChange> shortcuts;                 // links (.lnk)
    std::vector<FileChange> fontFiles;                 // files of the Windows fonts folder
    std::vector<RegistryChange> fontValues;            // values of the system's font tables
    std::vector<RegistryChange> registry;              // every other key and value
    std::vector<UninstallEntryView> uninstallEntries;  // entries added (their values only here)
};

// Sorts the changes of an install (Wine's own already taken out). Wine's Windows folder is
// C:\windows.
InstallReading ReadInstall(const MachineChanges& changes);

// What stayed after the removal: `changes` is the prefix before the install against after the
// removal, Wine's own taken out.
struct Leftovers {
    // The engine's records that every product it installed shares, kept by design: the
    // uninstaller in the Windows folder, its language files, the engine's key with LastVersion.
    MachineChanges shared;
    // Everything else: each is a finding.
    MachineChanges findings;
};
Leftovers ReadLeftovers(const MachineChanges& changes);

}  // namespace vesk::trial
