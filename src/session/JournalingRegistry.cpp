// Journalling the registry's changes.
#include "session/JournalingRegistry.h"

#include <vector>

namespace vesk {
namespace {

std::string Below(const std::string& path, const std::string& name) {
    return path.empty() ? name : path + "\\" + name;
}

// The levels of "a\b\c" below `path`: "path\a", "path\a\b", "path\a\b\c".
std::vector<std::string> LevelsBelow(const std::string& path, const std::string& name) {
    std::vector<std::string> levels;
    std::string level = path;
    std::string part;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '\\') {
            if (!part.empty()) {
                level = Below(level, part);
                levels.push_back(level);
            }
            part.clear();
        } else {
            part += name[i];
        }
    }
    return levels;
}

class JournalingHandle : public RegistryHandle {
public:
    JournalingHandle(std::unique_ptr<RegistryHandle> inner, Registry& registry,
                     InstallRecords& records, RegistryRoot root, std::string path)
        : inner_(std::move(inner)),
          registry_(registry),
          records_(records),
          root_(root),
          path_(std::move(path)) {}

    std::unique_ptr<RegistryHandle> CreateSubKey(const std::string& name) override {
        std::vector<std::string> missing;
        for (const std::string& level : LevelsBelow(path_, name)) {
            if (!registry_.Open(root_, level, RegistryAccess::Read)) missing.push_back(level);
        }
        std::unique_ptr<RegistryHandle> created = inner_->CreateSubKey(name);
        if (!created) return nullptr;
        for (const std::string& level : missing) {
            if (registry_.Open(root_, level, RegistryAccess::Read)) {
                records_.Add(RegistryKeyChange(ChangeKind::RegistryKeyCreated, root_, level));
            }
        }
        return std::make_unique<JournalingHandle>(std::move(created), registry_, records_, root_,
                                                  LevelsBelow(path_, name).back());
    }

    std::optional<RegistryValue> QueryValue(const std::string& name) const override {
        return inner_->QueryValue(name);
    }

    bool SetValue(const std::string& name, const RegistryValue& value) override {
        std::optional<RegistryValue> before = inner_->QueryValue(name);
        if (!inner_->SetValue(name, value)) return false;
        records_.Add(RegistryValueChange(ChangeKind::RegistryValueSet, root_, path_, name,
                                         std::move(before), value));
        return true;
    }

    bool DeleteSubKey(const std::string& name) override {
        Change deleted =
            RegistryKeyChange(ChangeKind::RegistryKeyDeleted, root_, Below(path_, name));
        if (std::unique_ptr<RegistryHandle> key =
                registry_.Open(root_, deleted.path, RegistryAccess::Read)) {
            for (const std::string& valueName : key->ValueNames()) {
                if (std::optional<RegistryValue> value = key->QueryValue(valueName)) {
                    deleted.values.push_back({valueName, *value});
                }
            }
        }
        if (!inner_->DeleteSubKey(name)) return false;
        records_.Add(std::move(deleted));
        return true;
    }

    bool DeleteValue(const std::string& name) override {
        std::optional<RegistryValue> before = inner_->QueryValue(name);
        if (!inner_->DeleteValue(name)) return false;
        records_.Add(RegistryValueChange(ChangeKind::RegistryValueDeleted, root_, path_, name,
                                         std::move(before), std::nullopt));
        return true;
    }

    std::vector<std::string> SubKeyNames() const override { return inner_->SubKeyNames(); }
    std::vector<std::string> ValueNames() const override { return inner_->ValueNames(); }

private:
    std::unique_ptr<RegistryHandle> inner_;
    Registry& registry_;
    InstallRecords& records_;
    RegistryRoot root_;
    std::string path_;
};

}  // namespace

std::unique_ptr<RegistryHandle> JournalingRegistry::Open(RegistryRoot root, const std::string& path,
                                                         RegistryAccess access) {
    std::unique_ptr<RegistryHandle> key = inner_.Open(root, path, access);
    if (!key) return nullptr;
    return std::make_unique<JournalingHandle>(std::move(key), inner_, records_, root, path);
}

}  // namespace vesk
