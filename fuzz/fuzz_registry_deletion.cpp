// Fuzzes the rule for removing a registry key with everything in it: the first byte picks the
// root, the rest is a RegSubKey as a log or a record writes it ("\SOFTWARE\Vendor\Product").
// Whatever it says, a root and the keys right below it, anything of SYSTEM, the run keys and
// every key above them, and the keys at or above the engine's own records (uninstall entries,
// shell folders, fonts, the engine's key) never go whole; the classes root means
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes and Wow6432Node the key it mirrors; letter case and
// doubled backslashes change nothing. Checked against the names compared one by one.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "install/KeyTreeRule.h"
#include "install/UninstallRecord.h"
#include "platform/Fonts.h"
#include "project/EngineKey.h"
#include "project/NameCase.h"
#include "project/PathParts.h"
#include "project/PathResolver.h"
#include "project/RegistryKey.h"

namespace {

using vesk::RegistryRoot;

void Check(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::string> UpperParts(const std::string& path) {
    std::vector<std::string> parts = vesk::PathComponents(path);
    for (std::string& part : parts) part = vesk::UpperName(part);
    return parts;
}

// Whether `key` is `record` or one of the keys above it, name by name.
bool AtOrAbove(const std::vector<std::string>& key, const std::string& record) {
    const std::vector<std::string> below = UpperParts(record);
    if (key.size() > below.size()) return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (key[i] != below[i]) return false;
    }
    return true;
}

bool AllAscii(const std::string& text) {
    for (unsigned char c : text) {
        if (c >= 0x80) return false;
    }
    return true;
}

}  // namespace

extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    constexpr int kRoots = 5;
    const auto root = RegistryRoot(data[0] % kRoots);
    const std::string subKey(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string keyPath = vesk::RegistryKeyPathOf(subKey);
    const bool whole = vesk::MayRemoveTree(root, keyPath);
    const std::vector<std::string> key = UpperParts(keyPath);
    if (whole) {
        Check(root != RegistryRoot::CurrentConfig);
        Check(key.size() >= (root == RegistryRoot::Users ? 3u : 2u));
        if (root == RegistryRoot::LocalMachine) {
            Check(key[0] != "SYSTEM" && key[0] != "SECURITY" && key[0] != "SAM");
            for (const std::string& record :
                 {std::string(vesk::kUninstallEntries), std::string(vesk::kShellFoldersKey),
                  std::string(vesk::kNtFontsKey), std::string(vesk::kWin9xFontsKey),
                  std::string(vesk::kEngineKey), std::string("SOFTWARE\\Classes\\CLSID\\"),
                  std::string("SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"),
                  std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce")}) {
                Check(!AtOrAbove(key, record));
            }
            const std::vector<std::string> run =
                UpperParts("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
            Check(!(key.size() >= run.size() && std::equal(run.begin(), run.end(), key.begin())));
        }
    }
    // The names decide, not their spelling: letter case and doubled backslashes change nothing.
    std::string doubled = "\\";
    for (const std::string& part : vesk::PathComponents(keyPath)) doubled += "\\\\" + part;
    Check(vesk::MayRemoveTree(root, vesk::RegistryKeyPathOf(doubled)) == whole);
    if (AllAscii(keyPath)) {
        std::string lower = keyPath;
        for (char& c : lower) {
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        }
        Check(vesk::MayRemoveTree(root, lower) == whole);
        Check(vesk::MayRemoveTree(root, vesk::UpperName(keyPath)) == whole);
    }
    // The classes root is the machine's classes key; a machine key is its Wow6432Node mirror.
    if (root == RegistryRoot::ClassesRoot) {
        Check(vesk::MayRemoveTree(RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\" + keyPath) ==
              whole);
    }
    if (root == RegistryRoot::LocalMachine && !key.empty() && key[0] == "SOFTWARE" &&
        (key.size() < 2 || key[1] != "WOW6432NODE")) {
        std::string mirrored = "SOFTWARE\\Wow6432Node";
        for (std::size_t i = 1; i < key.size(); ++i) mirrored += "\\" + key[i];
        const bool classes = key.size() >= 2 && key[1] == "CLASSES";
        if (!classes) Check(vesk::MayRemoveTree(root, mirrored) == whole);
    }
    return 0;
}
