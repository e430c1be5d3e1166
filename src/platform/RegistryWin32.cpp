// The registry through the ANSI Win32 calls, every key handle closed by its owner.
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

HKEY PredefinedKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegistryRoot::Users:
            return HKEY_USERS;
        case RegistryRoot::CurrentConfig:
            return HKEY_CURRENT_CONFIG;
    }
    return HKEY_LOCAL_MACHINE;
}

REGSAM SamOf(RegistryAccess access) {
    switch (access) {
        case RegistryAccess::Read:
            return KEY_READ;
        case RegistryAccess::Write:
            return KEY_WRITE;
        case RegistryAccess::All:
            return KEY_ALL_ACCESS;
    }
    return KEY_READ;
}

// Long key paths are opened one level at a time, relative to the level before, as the ANSI
// calls of older systems needed.
constexpr std::size_t kLongestDirectPath = MAX_PATH - 1;

// Backslash-separated levels (a UTF-8 character holds no backslash byte).
std::vector<std::string> KeyLevels(const std::string& path) {
    std::vector<std::string> levels(1);
    for (std::size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        if (c == '\\') {
            if (!levels.back().empty()) levels.emplace_back();
        } else {
            levels.back() += c;
        }
    }
    if (levels.back().empty()) levels.pop_back();
    return levels;
}

// Whether a value of `type` holds text, which the engine keeps in UTF-8 and the registry in
// UTF-16 (its terminating NULs included).
bool IsText(DWORD type) {
    return type == kRegistryString || type == kRegistryExpandString || type == kRegistryMultiString;
}

std::string TextFromRegistry(const std::string& bytes) {
    WideText wide(bytes.size() / sizeof(wchar_t), L'\0');
    if (!wide.empty()) std::memcpy(&wide[0], bytes.data(), wide.size() * sizeof(wchar_t));
    return Narrow(wide);
}

// Owns an HKEY for the walk below; predefined roots are never closed.
class KeyWalk {
public:
    explicit KeyWalk(HKEY root) : key_(root) {}
    ~KeyWalk() { Reset(nullptr); }
    KeyWalk(const KeyWalk&) = delete;
    KeyWalk& operator=(const KeyWalk&) = delete;
    HKEY get() const { return key_; }
    HKEY Release() {
        HKEY key = key_;
        key_ = nullptr;
        owned_ = false;
        return key;
    }
    void Reset(HKEY key) {
        if (owned_ && key_) RegCloseKey(key_);
        key_ = key;
        owned_ = key != nullptr;
    }

private:
    HKEY key_;
    bool owned_ = false;
};

// Opens (or, with create, creates) `path` below `parent`: in one call when the path fits the
// direct-path limit, otherwise level by level. Null on failure.
HKEY OpenPath(HKEY parent, const std::string& path, REGSAM access, bool create) {
    auto step = [&](HKEY from, const std::string& name, HKEY* out) {
        if (create) {
            DWORD disposition = 0;
            return RegCreateKeyExW(from, Wide(name).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   access, nullptr, out, &disposition) == ERROR_SUCCESS;
        }
        return RegOpenKeyExW(from, Wide(name).c_str(), 0, access, out) == ERROR_SUCCESS;
    };
    HKEY key = nullptr;
    if (path.size() <= kLongestDirectPath) return step(parent, path, &key) ? key : nullptr;
    KeyWalk walk(parent);
    for (const std::string& level : KeyLevels(path)) {
        if (!step(walk.get(), level, &key)) return nullptr;
        walk.Reset(key);
    }
    return walk.Release();
}

// An open key. A predefined root opened as itself is borrowed, never closed.
class Win32Key : public RegistryHandle {
public:
    Win32Key(HKEY key, bool owned) : key_(key), owned_(owned) {}
    ~Win32Key() override {
        if (owned_) RegCloseKey(key_);
    }
    Win32Key(const Win32Key&) = delete;
    Win32Key& operator=(const Win32Key&) = delete;

    std::unique_ptr<RegistryHandle> CreateSubKey(const std::string& name) override {
        HKEY created = OpenPath(key_, name, KEY_ALL_ACCESS, true);
        return created ? std::make_unique<Win32Key>(created, true) : nullptr;
    }

    std::optional<RegistryValue> QueryValue(const std::string& name) const override {
        // The value may grow between the size query and the read: ask again until it fits.
        DWORD type = 0;
        DWORD size = 0;
        LONG status = RegQueryValueExW(key_, Wide(name).c_str(), nullptr, &type, nullptr, &size);
        for (int attempt = 0; attempt < 8 && status == ERROR_SUCCESS; ++attempt) {
            std::vector<BYTE> data(size + 1);
            DWORD got = size;
            status = RegQueryValueExW(key_, Wide(name).c_str(), nullptr, &type, data.data(), &got);
            if (status == ERROR_SUCCESS) {
                RegistryValue value;
                value.type = type;
                value.data.assign(reinterpret_cast<const char*>(data.data()), got);
                if (IsText(type)) value.data = TextFromRegistry(value.data);
                return value;
            }
            if (status == ERROR_MORE_DATA) {
                size = got;
                status = ERROR_SUCCESS;
            }
        }
        return std::nullopt;
    }

    bool SetValue(const std::string& name, const RegistryValue& value) override {
        const WideText text = IsText(value.type) ? Wide(value.data) : WideText();
        const BYTE* data = IsText(value.type) ? reinterpret_cast<const BYTE*>(text.data())
                                              : reinterpret_cast<const BYTE*>(value.data.data());
        const DWORD size =
            IsText(value.type) ? DWORD(text.size() * sizeof(wchar_t)) : DWORD(value.data.size());
        return RegSetValueExW(key_, Wide(name).c_str(), 0, value.type, data, size) == ERROR_SUCCESS;
    }

    bool DeleteSubKey(const std::string& name) override {
        return RegDeleteKeyW(key_, Wide(name).c_str()) == ERROR_SUCCESS;
    }

    bool DeleteValue(const std::string& name) override {
        return RegDeleteValueW(key_, Wide(name).c_str()) == ERROR_SUCCESS;
    }

    std::vector<std::string> SubKeyNames() const override {
        std::vector<std::string> names;
        wchar_t name[256];  // key names are at most 255 characters
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name / sizeof name[0];
            if (RegEnumKeyExW(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            names.push_back(Narrow(name, length));
        }
        return names;
    }

    std::vector<std::string> ValueNames() const override {
        std::vector<std::string> names;
        DWORD longest = 0;
        if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            return names;
        }
        std::vector<wchar_t> name(longest + 2);
        for (DWORD index = 0;; ++index) {
            DWORD length = DWORD(name.size());
            if (RegEnumValueW(key_, index, name.data(), &length, nullptr, nullptr, nullptr,
                              nullptr) != ERROR_SUCCESS) {
                break;
            }
            names.push_back(Narrow(name.data(), length));
        }
        return names;
    }

private:
    HKEY key_;
    bool owned_;
};

class Win32Registry : public Registry {
public:
    std::unique_ptr<RegistryHandle> Open(RegistryRoot root, const std::string& path,
                                         RegistryAccess access) override {
        if (path.empty()) return std::make_unique<Win32Key>(PredefinedKey(root), false);
        HKEY key = OpenPath(PredefinedKey(root), path, SamOf(access), false);
        return key ? std::make_unique<Win32Key>(key, true) : nullptr;
    }
};

}  // namespace

Registry& HostRegistry() {
    static Win32Registry registry;
    return registry;
}

}  // namespace vesk
