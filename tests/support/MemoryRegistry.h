// An in-memory registry for native tests: case-insensitive key and value names, NT deletion
// rules, keys that can be made read-only, and a count of open handles to catch leaks.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Registry.h"

namespace vesk::test {

class MemoryRegistry : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    std::unique_ptr<RegistryHandle> Open(RegistryRoot root, const std::string& path,
                                         RegistryAccess access) override;

    // Test set-up and inspection; paths without a leading backslash.
    void AddKey(RegistryRoot root, const std::string& path);
    void PutString(RegistryRoot root, const std::string& path, const std::string& name,
                   const std::string& text);
    // The key refuses write and full access, as HKEY_LOCAL_MACHINE does for a limited account.
    void MakeReadOnly(RegistryRoot root, const std::string& path);
    bool HasKey(RegistryRoot root, const std::string& path) const;
    std::optional<RegistryValue> Value(RegistryRoot root, const std::string& path,
                                       const std::string& name) const;
    std::optional<std::string> StringValue(RegistryRoot root, const std::string& path,
                                           const std::string& name) const;
    int OpenHandles() const { return *openHandles_; }
    // Makes this registry hold what `other` holds (a copy: the two go separate ways after).
    void CopyFrom(const MemoryRegistry& other);
    // Every key and value, one per line, keys and values sorted by name: two registries with the
    // same contents give the same text, whatever order they were written in.
    std::string Dump() const;

    struct Node;

private:
    std::shared_ptr<Node> Find(RegistryRoot root, const std::string& path) const;
    std::shared_ptr<Node> Make(RegistryRoot root, const std::string& path);

    std::shared_ptr<Node> roots_[5];
    std::shared_ptr<int> openHandles_;
};

}  // namespace vesk::test
