// What Wine changes in a prefix by itself. `veskbuild try` measures it: it compares the prefix
// before and after a run that installs nothing, and every key, value and file that run touched
// is taken for Wine's own in the comparisons of the install and the removal. So the rule holds
// on any machine and Wine version, without a list of names that fits one of them.
#pragma once

#include <set>
#include <string>

#include "builder/trial/MachineChanges.h"

namespace vesk::trial {

class WineChurn {
public:
    // Takes every change of a run that installed nothing for Wine's own.
    void Learn(const MachineChanges& emptyRun);

    // `changes` without Wine's own: a value the empty run changed, any value of a key it added
    // or removed as a whole (a key Wine makes afresh at each start), such a key itself, and a
    // file or folder it changed. What is taken out goes to `wines` when given.
    MachineChanges Without(const MachineChanges& changes, MachineChanges* wines = nullptr) const;

private:
    bool IsWines(const RegistryChange& change) const;

    std::set<std::string> keys_;    // folded paths of keys that came or went
    std::set<std::string> values_;  // folded key path, a line feed, the folded value name
    std::set<std::string> files_;   // folded Windows paths
};

}  // namespace vesk::trial
