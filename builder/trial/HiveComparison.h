// The registry changes between two readings of one hive.
#pragma once

#include <string>
#include <vector>

#include "builder/trial/MachineChanges.h"
#include "builder/trial/RegistryHive.h"

namespace vesk::trial {

// Keys that came or went (each with its values as changes of their own), values added, changed
// or removed, under `root` ("HKEY_LOCAL_MACHINE") in the order of their keys' folded paths.
// Letter case alone is no change: the registry ignores it.
std::vector<RegistryChange> CompareHives(const RegistryHive& before, const RegistryHive& after,
                                         const std::string& root);

}  // namespace vesk::trial
