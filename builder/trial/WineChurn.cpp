// Wine's own changes, learnt from an empty run and taken out of later comparisons.
#include "builder/trial/WineChurn.h"

#include "builder/trial/RegistryHive.h"

namespace vesk::trial {
namespace {

std::string ValueId(const RegistryChange& change) {
    return FoldedName(change.key) + '\n' + FoldedName(change.name);
}

}  // namespace

void WineChurn::Learn(const MachineChanges& emptyRun) {
    for (const RegistryChange& change : emptyRun.registry) {
        if (change.wholeKey) {
            keys_.insert(FoldedName(change.key));
        } else {
            values_.insert(ValueId(change));
        }
    }
    for (const FileChange& change : emptyRun.files) files_.insert(FoldedName(change.path));
}

bool WineChurn::IsWines(const RegistryChange& change) const {
    if (keys_.count(FoldedName(change.key))) return true;
    return !change.wholeKey && values_.count(ValueId(change));
}

MachineChanges WineChurn::Without(const MachineChanges& changes, MachineChanges* wines) const {
    MachineChanges kept;
    for (const RegistryChange& change : changes.registry) {
        if (!IsWines(change)) {
            kept.registry.push_back(change);
        } else if (wines) {
            wines->registry.push_back(change);
        }
    }
    for (const FileChange& change : changes.files) {
        if (!files_.count(FoldedName(change.path))) {
            kept.files.push_back(change);
        } else if (wines) {
            wines->files.push_back(change);
        }
    }
    return kept;
}

}  // namespace vesk::trial
