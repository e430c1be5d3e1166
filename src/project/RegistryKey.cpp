// Registry access by root name and backslash path, over the platform's Registry.
#include "project/RegistryKey.h"

#include <vector>

#include "project/NameCase.h"
#include "project/PathParts.h"

namespace vesk {
namespace {

struct RootName {
    const char* name;
    RegistryRoot root;
};

const RootName kRootNames[] = {
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {"HKEY_USERS", RegistryRoot::Users},
    {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
};

std::string Join(const std::vector<std::string>& parts, std::size_t count) {
    std::string path;
    for (std::size_t i = 0; i < count; ++i) {
        if (i) path += '\\';
        path += parts[i];
    }
    return path;
}

// The levels of a key path as the project writes it: its first character (the leading
// backslash) dropped.
std::vector<std::string> KeyLevelsOf(const std::string& path) {
    return PathComponents(path.substr(path.empty() ? 0 : 1));
}

// Walks the parts from the root: each level is opened, or created under the level before it.
// Returns the deepest level only; null when that one could not be reached, so values are never
// written into a parent by mistake.
std::unique_ptr<RegistryHandle> OpenOrCreateChain(Registry& registry, RegistryRoot root,
                                                  const std::vector<std::string>& parts) {
    std::unique_ptr<RegistryHandle> last;
    for (std::size_t level = 0; level < parts.size(); ++level) {
        last = registry.Open(root, Join(parts, level + 1), RegistryAccess::All);
        if (last) continue;
        std::unique_ptr<RegistryHandle> parent =
            registry.Open(root, Join(parts, level), RegistryAccess::Write);
        if (parent) last = parent->CreateSubKey(parts[level]);
    }
    return last;
}

}  // namespace

std::string RegistryKeyPathOf(const std::string& subKey) {
    const std::vector<std::string> parts = KeyLevelsOf(subKey);
    return Join(parts, parts.size());
}

std::optional<RegistryRoot> RegistryRootFromName(const std::string& name) {
    for (const RootName& entry : kRootNames) {
        if (SameName(name, entry.name)) return entry.root;
    }
    return std::nullopt;
}

std::string RegistryRootName(RegistryRoot root) {
    for (const RootName& entry : kRootNames) {
        if (entry.root == root) return entry.name;
    }
    return std::string();
}

RegistryKey::RegistryKey(Registry& registry, RegistryRoot root)
    : registry_(registry), root_(root) {}

bool RegistryKey::SetRootByName(const std::string& name) {
    std::optional<RegistryRoot> root = RegistryRootFromName(name);
    if (root) root_ = *root;
    return root.has_value();
}

bool RegistryKey::Open(const std::string& path, bool createIfMissing) {
    key_.reset();
    const std::vector<std::string> parts = KeyLevelsOf(path);
    const std::string sub = Join(parts, parts.size());
    key_ = registry_.Open(root_, sub, RegistryAccess::All);
    if (!key_ && createIfMissing) key_ = OpenOrCreateChain(registry_, root_, parts);
    if (!key_) key_ = registry_.Open(root_, sub, RegistryAccess::Read);
    return key_ != nullptr;
}

bool RegistryKey::OpenForReading(const std::string& path) {
    const std::vector<std::string> parts = KeyLevelsOf(path);
    key_ = registry_.Open(root_, Join(parts, parts.size()), RegistryAccess::Read);
    return key_ != nullptr;
}

std::string RegistryKey::ReadString(const std::string& name) const {
    if (!key_) return std::string();
    std::optional<RegistryValue> value = key_->QueryValue(name);
    if (!value) return std::string();
    std::size_t nul = value->data.find('\0');
    return nul == std::string::npos ? value->data : value->data.substr(0, nul);
}

bool RegistryKey::WriteString(const std::string& name, const std::string& text) {
    return WriteText(name, text, kRegistryString);
}

bool RegistryKey::WriteText(const std::string& name, const std::string& text, std::uint32_t type) {
    if (!key_) return false;
    return key_->SetValue(name, RegistryValue{type, text + '\0'});
}

bool RegistryKey::WriteDword(const std::string& name, std::uint32_t value) {
    if (!key_) return false;
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = char((value >> (8 * i)) & 0xFF);
    return key_->SetValue(name, RegistryValue{kRegistryDword, bytes});
}

bool RegistryKey::OpenParentOf(const std::string& path, std::string& last) {
    std::size_t slash = LastBackslash(path);
    if (slash == std::string::npos) return false;
    last = path.substr(slash + 1);
    return Open(path.substr(0, slash), true);
}

bool RegistryKey::DeleteKey(const std::string& path) {
    std::string last;
    // An empty name would make the system delete the parent itself.
    if (!OpenParentOf(path, last) || last.empty()) return false;
    return key_->DeleteSubKey(last);
}

bool RegistryKey::DeleteValue(const std::string& path) {
    std::string last;
    if (!OpenParentOf(path, last)) return false;
    return key_->DeleteValue(last);
}

std::unique_ptr<RegistryHandle> OpenKeyFromBracketedLine(Registry& registry,
                                                         const std::string& line) {
    std::optional<BracketedKey> key = ReadBracketedKey(line);
    return key ? OpenBracketedKey(registry, *key) : nullptr;
}

std::unique_ptr<RegistryHandle> OpenBracketedKey(Registry& registry, const BracketedKey& key) {
    return OpenOrCreateChain(registry, key.root, key.levels);
}

}  // namespace vesk
