// What differs between two states of a Wine prefix: registry keys and values, files and folders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk::trial {

enum class ChangeKind { Added, Changed, Removed };

struct RegistryChange {
    ChangeKind kind = ChangeKind::Added;
    std::string key;        // the whole path: "HKEY_LOCAL_MACHINE\SOFTWARE\..."
    bool wholeKey = false;  // the key itself came or went; its values are changes of their own
    std::string name;       // the value's name ("" the default value) when not wholeKey
    std::string before;     // the data as Wine writes it; "" when added
    std::string after;      // "" when removed
};

enum class EntryType { File, Folder, Link };

struct FileChange {
    ChangeKind kind = ChangeKind::Added;
    EntryType type = EntryType::File;
    std::string path;  // as Windows names it: "C:\Program Files\..."
    std::uint64_t sizeBefore = 0;
    std::uint64_t sizeAfter = 0;
};

struct MachineChanges {
    std::vector<RegistryChange> registry;
    std::vector<FileChange> files;
    bool Empty() const { return registry.empty() && files.empty(); }
};

}  // namespace vesk::trial
