// Deleting registry values and keys by path, opening nothing that is not there: the uninstaller
// must never create a key on its way to delete one.
#pragma once

#include <string>

#include "platform/Registry.h"

namespace vesk {

// Paths are below `root`, without a leading backslash. Each gives true when it deleted something.

// The value `name` of the key.
bool EraseRegistryValue(Registry& registry, RegistryRoot root, const std::string& keyPath,
                        const std::string& name);
// The key with every key and value below it (the deepest first, as the system deletes only
// keys without subkeys). A key MayRemoveTree refuses (a root, SYSTEM, the run keys ...) is
// deleted only when it is empty, whatever the caller asked.
bool EraseRegistryTree(Registry& registry, RegistryRoot root, const std::string& keyPath);
// The key, when it holds neither a subkey nor a value.
bool EraseEmptyRegistryKey(Registry& registry, RegistryRoot root, const std::string& keyPath);

}  // namespace vesk
