// The registry as the engine sees it: predefined roots, open keys, string and number values.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

// The predefined roots a project may name.
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// What an open key may be used for: Read (query, enumerate), Write (set values, create and
// delete below it), All (both).
enum class RegistryAccess { Read, Write, All };

// Value types as the registry stores them.
constexpr std::uint32_t kRegistryString = 1;        // REG_SZ
constexpr std::uint32_t kRegistryExpandString = 2;  // REG_EXPAND_SZ
constexpr std::uint32_t kRegistryDword = 4;         // REG_DWORD, little-endian
constexpr std::uint32_t kRegistryMultiString = 7;   // REG_MULTI_SZ

struct RegistryValue {
    std::uint32_t type = kRegistryString;
    std::string data;  // the stored bytes, a string's terminating NUL included
};

// One open key; the key is closed when the object is destroyed.
class RegistryHandle {
public:
    virtual ~RegistryHandle() = default;

    // Opens the existing subkey `name` (may hold backslashes) or creates it; null on failure.
    virtual std::unique_ptr<RegistryHandle> CreateSubKey(const std::string& name) = 0;
    // The whole stored data of a value, whatever its length; nullopt when absent or unreadable.
    virtual std::optional<RegistryValue> QueryValue(const std::string& name) const = 0;
    virtual bool SetValue(const std::string& name, const RegistryValue& value) = 0;
    // Removes one subkey; a subkey that has subkeys of its own is the platform's decision.
    virtual bool DeleteSubKey(const std::string& name) = 0;
    virtual bool DeleteValue(const std::string& name) = 0;
    virtual std::vector<std::string> SubKeyNames() const = 0;
    virtual std::vector<std::string> ValueNames() const = 0;
};

// The registry store: opens keys below a root.
class Registry {
public:
    virtual ~Registry() = default;

    // Opens root\path (path without a leading backslash; empty opens the root itself) with the
    // given access. Null when the key does not exist or the access is refused.
    virtual std::unique_ptr<RegistryHandle> Open(RegistryRoot root, const std::string& path,
                                                 RegistryAccess access) = 0;
};

// The registry of the running system (the real one on Windows; natively a registry that holds
// nothing and refuses every open).
Registry& HostRegistry();

}  // namespace vesk
