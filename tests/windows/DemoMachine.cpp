// The demo's traces on the test machine.
#include "DemoMachine.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cctype>
#include <filesystem>

#include "project/RegistryKey.h"

namespace vesk::test {

namespace fs = std::filesystem;

std::string DemoFile(const std::string& relative) {
    return "Z:" + std::string(VESK_SOURCE_DIR) + "/examples/demo/" + relative;
}

std::string WindowsFolder() {
    char folder[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    return folder;
}

std::string SystemFolder() {
    char folder[MAX_PATH + 1] = {};
    GetSystemDirectoryA(folder, sizeof folder);
    return folder;
}

std::string ShellFolder(int id) {
    char folder[MAX_PATH + 1] = {};
    SHGetSpecialFolderPathA(nullptr, folder, id, FALSE);
    return folder;
}

std::string ReadRegistryString(RegistryRoot root, const std::string& key, const std::string& name) {
    RegistryKey reader(HostRegistry(), root);
    if (!reader.OpenForReading(key)) return "(no key)";
    if (!reader.Handle()->QueryValue(name)) return "(no value)";
    return reader.ReadString(name);
}

bool RegistryKeyExists(RegistryRoot root, const std::string& key) {
    return RegistryKey(HostRegistry(), root).OpenForReading(key);
}

void DeleteRegistryTree(RegistryRoot root, const std::string& parent, const std::string& name) {
    if (auto key = HostRegistry().Open(root, parent + "\\" + name, RegistryAccess::All)) {
        for (const std::string& sub : key->SubKeyNames()) {
            DeleteRegistryTree(root, parent + "\\" + name, sub);
        }
    }
    if (auto key = HostRegistry().Open(root, parent, RegistryAccess::All)) key->DeleteSubKey(name);
}

void RemoveTheDemo(const std::string& testRoot) {
    constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
    DeleteRegistryTree(kMachine, "SOFTWARE\\VeskSoft\\VeskInstall", "Vesk Demo");
    DeleteRegistryTree(kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                       kDemoTitle);
    DeleteRegistryTree(kMachine, "SOFTWARE", "Vesk Demo Company");
    DeleteRegistryTree(RegistryRoot::CurrentUser, "Software", "Vesk Demo Company");
    if (auto fonts = HostRegistry().Open(kMachine, kFontsKey, RegistryAccess::All)) {
        fonts->DeleteValue(kDemoFontName);
    }
    DeleteRegistryTree(kMachine, "SOFTWARE", "Vesk Test Component");
    // The counts of the demo's shared files (its font), and the records of every product.
    if (auto shared = HostRegistry().Open(
            kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
            RegistryAccess::All)) {
        for (const std::string& name : shared->ValueNames()) {
            std::string upper = name;
            for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
            if (upper.find("DEJAVUSANSMONO") != std::string::npos ||
                upper.find("VESK") != std::string::npos) {
                shared->DeleteValue(name);
            }
        }
    }
    std::error_code ec;
    fs::remove_all(SystemFolder() + "\\VeskInstall\\Records", ec);
    fs::remove_all(testRoot, ec);
    fs::remove_all(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo", ec);
    fs::remove(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Vesk Demo Readme.Lnk", ec);
    fs::remove(WindowsFolder() + "\\Fonts\\DejaVuSansMono.ttf", ec);
    fs::remove(WindowsFolder() + "\\Vesk-UnInstall.exe", ec);
}

}  // namespace vesk::test
