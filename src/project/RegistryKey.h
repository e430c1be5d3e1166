// A registry root and at most one open key: open-or-create by path, string and number values,
// deletion of a key or value named by a full path.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "project/RegistryDataGrammar.h"

namespace vesk {

// The root named by "HKEY_CLASSES_ROOT" … "HKEY_CURRENT_CONFIG" in any letter case; nullopt for
// any other text (abbreviations such as HKLM included).
std::optional<RegistryRoot> RegistryRootFromName(const std::string& name);
// The full name of a root, "HKEY_LOCAL_MACHINE".
std::string RegistryRootName(RegistryRoot root);

// The key path as the registry sees it: `subKey` as a project writes it (RegSubKey, "\SOFTWARE\A")
// without its first character (the leading backslash), empty parts dropped ("SOFTWARE\A").
std::string RegistryKeyPathOf(const std::string& subKey);

class RegistryKey {
public:
    explicit RegistryKey(Registry& registry, RegistryRoot root = RegistryRoot::LocalMachine);

    RegistryRoot Root() const { return root_; }
    void SetRoot(RegistryRoot root) { root_ = root; }
    // Selects the root by name; an unknown name keeps the root and returns false.
    bool SetRootByName(const std::string& name);

    // Opens root\path, dropping the first character of path (the leading backslash the project
    // writes). Without createIfMissing it only opens; with it, missing levels are created one by
    // one. A key this account may only read is held for reading, so reads still work and writes
    // fail. True when a key is held afterwards; the key held before is closed either way.
    bool Open(const std::string& path, bool createIfMissing);
    // Opens root\path (first character dropped as above) for reading only.
    bool OpenForReading(const std::string& path);
    void Close() { key_.reset(); }
    bool IsOpen() const { return key_ != nullptr; }
    // The open key, for enumeration; null when none is held.
    RegistryHandle* Handle() const { return key_.get(); }

    // The value's data up to its first NUL, whatever its length and type; "" when no key is
    // open or the value is absent.
    std::string ReadString(const std::string& name) const;
    // A REG_SZ value of the text and its terminating NUL; false when no key is open or the
    // write is refused.
    bool WriteString(const std::string& name, const std::string& text);
    // The same with the type given: kRegistryString or kRegistryExpandString.
    bool WriteText(const std::string& name, const std::string& text, std::uint32_t type);
    bool WriteDword(const std::string& name, std::uint32_t value);

    // Full path with leading backslash; the last part names the key or value. The parent is
    // created when missing and stays open. Failures are ignored; the result says whether
    // something was deleted.
    bool DeleteKey(const std::string& path);
    bool DeleteValue(const std::string& path);

private:
    std::unique_ptr<RegistryHandle> CreateChain(const std::string& sub);
    bool OpenParentOf(const std::string& path, std::string& last);

    Registry& registry_;
    RegistryRoot root_;
    std::unique_ptr<RegistryHandle> key_;
};

// For a registry data file line "[HKEY_LOCAL_MACHINE\SOFTWARE\Product]" as ReadBracketedKey reads
// it: the root part written exactly (upper case), a backslash, a key path of at least one level.
// Opens or creates every level and returns the deepest key; null otherwise.
std::unique_ptr<RegistryHandle> OpenKeyFromBracketedLine(Registry& registry,
                                                         const std::string& line);
// The same for a line already read.
std::unique_ptr<RegistryHandle> OpenBracketedKey(Registry& registry, const BracketedKey& key);

}  // namespace vesk
