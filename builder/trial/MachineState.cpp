// Reading a prefix's registry files and drive C, and comparing two readings.
#include "builder/trial/MachineState.h"

#include <fstream>
#include <sstream>

#include "builder/trial/HiveComparison.h"

namespace vesk::trial {

bool MachineState::ReadHive(std::size_t index, std::string_view text, std::string& error) {
    if (hives_[index].Parse(text, error)) return true;
    error = std::string(kHiveFiles[index].file) + ": " + error;
    return false;
}

bool MachineState::Capture(const std::string& prefix, std::string& error) {
    for (std::size_t i = 0; i < kHiveCount; ++i) {
        const std::string path = prefix + "/" + kHiveFiles[i].file;
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        if (!file || !text) {
            error = "cannot read " + path;
            return false;
        }
        if (!ReadHive(i, text.str(), error)) {
            error = prefix + "/" + error;
            return false;
        }
    }
    return tree_.Scan(prefix + "/drive_c", error);
}

MachineChanges CompareMachines(const MachineState& before, const MachineState& after) {
    MachineChanges changes;
    for (std::size_t i = 0; i < kHiveCount; ++i) {
        for (RegistryChange& change :
             CompareHives(before.Hive(i), after.Hive(i), kHiveFiles[i].root)) {
            changes.registry.push_back(std::move(change));
        }
    }
    changes.files = CompareTrees(before.Tree(), after.Tree(), "C:");
    return changes;
}

}  // namespace vesk::trial
