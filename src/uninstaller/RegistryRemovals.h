// The registry side of an uninstall plan: the items the install wrote and marked for removal,
// kept from a log.
#pragma once

#include <string>
#include <vector>

#include "install/RegistryItems.h"
#include "project/InstallProject.h"
#include "uninstaller/UninstallPlan.h"

namespace vesk {

// Collects the removals of the registry items with IsToDelete set that the install wrote
// (RegOperType 0): the EditBox subtasks of task 2005 that the user information page wrote (those
// with the user or company reference) and the Registry subtasks of task 2406, the root carrying
// over from one item to the next as it did during the install, from HKEY_LOCAL_MACHINE. A value
// item removes its value. A log does not say which keys the install made, so a key-only item's
// key, like a value item's, goes only when nothing is left in it: both go to `emptyKeys`.
class RegistryRemovals {
public:
    void AddItemsOf(const InstallProject& log);

    void Add(const Removal& removal) { removals_.push_back(removal); }
    // The key `keyPath` of `root`, when nothing is left in it at the end.
    void AddEmptyKey(RegistryRoot root, const std::string& keyPath);

    // The removals in order, then the empty-key checks, the deepest first.
    std::vector<Removal> InOrder() const;

private:
    void AddItem(RegistryRoot root, const RegistryItem& item);

    std::vector<Removal> removals_;
    std::vector<Removal> emptyKeys_;
};

}  // namespace vesk
