// Deleting registry values and keys.
#include "install/RegistryErasure.h"

#include "install/KeyTreeRule.h"
#include "project/PathParts.h"

namespace vesk {
namespace {

// Splits "a\b\c" into "a\b" and "c"; a key directly below the root has the parent "".
void Split(const std::string& keyPath, std::string& parent, std::string& last) {
    const std::size_t slash = LastBackslash(keyPath);
    parent = slash == std::string::npos ? std::string() : keyPath.substr(0, slash);
    last = slash == std::string::npos ? keyPath : keyPath.substr(slash + 1);
}

bool DeleteSubKeys(Registry& registry, RegistryRoot root, const std::string& keyPath) {
    std::unique_ptr<RegistryHandle> key = registry.Open(root, keyPath, RegistryAccess::All);
    if (!key) return false;
    for (const std::string& name : key->SubKeyNames()) {
        DeleteSubKeys(registry, root, keyPath + "\\" + name);
        key->DeleteSubKey(name);
    }
    return true;
}

}  // namespace

bool EraseRegistryValue(Registry& registry, RegistryRoot root, const std::string& keyPath,
                        const std::string& name) {
    std::unique_ptr<RegistryHandle> key = registry.Open(root, keyPath, RegistryAccess::All);
    return key && key->QueryValue(name) && key->DeleteValue(name);
}

bool EraseRegistryTree(Registry& registry, RegistryRoot root, const std::string& keyPath) {
    // A tree of the system's goes only when nothing is left in it, whoever asks.
    if (!MayRemoveTree(root, keyPath)) return EraseEmptyRegistryKey(registry, root, keyPath);
    std::string parent, last;
    Split(keyPath, parent, last);
    if (last.empty() || !DeleteSubKeys(registry, root, keyPath)) return false;
    std::unique_ptr<RegistryHandle> above = registry.Open(root, parent, RegistryAccess::All);
    return above && above->DeleteSubKey(last);
}

bool EraseEmptyRegistryKey(Registry& registry, RegistryRoot root, const std::string& keyPath) {
    std::string parent, last;
    Split(keyPath, parent, last);
    if (last.empty()) return false;
    {
        std::unique_ptr<RegistryHandle> key = registry.Open(root, keyPath, RegistryAccess::Read);
        if (!key || !key->SubKeyNames().empty() || !key->ValueNames().empty()) return false;
    }
    std::unique_ptr<RegistryHandle> above = registry.Open(root, parent, RegistryAccess::All);
    return above && above->DeleteSubKey(last);
}

}  // namespace vesk
