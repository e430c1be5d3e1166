// Fonts through GDI's font table, the fonts key of the registry and a broadcast message.
#include <windows.h>

#include "platform/Fonts.h"
#include "platform/Registry.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

// The packed version's high bit marks the 9x family.
constexpr DWORD kWin9xFamilyBit = 0x80000000;

const char* FontsKeyOfThisSystem() {
    return (GetVersion() & kWin9xFamilyBit) != 0 ? kWin9xFontsKey : kNtFontsKey;
}

class Win32Fonts : public Fonts {
public:
    int AddResource(const std::string& path) override {
        return AddFontResourceW(Wide(path).c_str());
    }

    bool RemoveResource(const std::string& path) override {
        return RemoveFontResourceW(Wide(path).c_str()) != 0;
    }

    std::string FontsFolder() const override {
        wchar_t folder[MAX_PATH + 1] = {};
        const UINT length = GetWindowsDirectoryW(folder, MAX_PATH + 1);
        if (length == 0 || length > MAX_PATH) return {};
        std::string path = Narrow(folder, length);
        if (path.back() != '\\') path += '\\';
        return path + "Fonts";
    }

    bool Register(const std::string& name, const std::string& file) override {
        std::unique_ptr<RegistryHandle> key = HostRegistry().Open(
            RegistryRoot::LocalMachine, FontsKeyOfThisSystem(), RegistryAccess::Write);
        if (!key) return false;
        return key->SetValue(name, RegistryValue{kRegistryString, file + '\0'});
    }

    int Unregister(const std::string& file) override {
        std::unique_ptr<RegistryHandle> key = HostRegistry().Open(
            RegistryRoot::LocalMachine, FontsKeyOfThisSystem(), RegistryAccess::All);
        if (!key) return 0;
        int removed = 0;
        for (const std::string& name : key->ValueNames()) {
            const std::optional<RegistryValue> value = key->QueryValue(name);
            if (!value) continue;
            const std::string text = value->data.substr(0, value->data.find('\0'));
            if (lstrcmpiW(Wide(text).c_str(), Wide(file).c_str()) == 0 && key->DeleteValue(name))
                ++removed;
        }
        return removed;
    }

    std::optional<std::string> Listing(const std::string& name) const override {
        std::unique_ptr<RegistryHandle> key = HostRegistry().Open(
            RegistryRoot::LocalMachine, FontsKeyOfThisSystem(), RegistryAccess::Read);
        if (!key) return std::nullopt;
        const std::optional<RegistryValue> value = key->QueryValue(name);
        if (!value) return std::nullopt;
        return value->data.substr(0, value->data.find('\0'));
    }

    bool Unlist(const std::string& name) override {
        std::unique_ptr<RegistryHandle> key = HostRegistry().Open(
            RegistryRoot::LocalMachine, FontsKeyOfThisSystem(), RegistryAccess::All);
        return key && key->DeleteValue(name);
    }

    // Posted, not sent: the install must not wait for a program that does not answer, nor for
    // the setup's own window while its thread waits for the install.
    void AnnounceChange() override { PostMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0); }
};

}  // namespace

Fonts& HostFonts() {
    static Win32Fonts fonts;
    return fonts;
}

}  // namespace vesk
