// The rule table of the system's registry trees.
#include "install/KeyTreeRule.h"

#include <cstddef>
#include <vector>

#include "install/UninstallRecord.h"
#include "platform/Fonts.h"
#include "project/EngineKey.h"
#include "project/NameCase.h"
#include "project/PathParts.h"
#include "project/PathResolver.h"

namespace vesk {
namespace {

constexpr std::size_t kWholeTree = 1000;  // no key below it may go whole either

// A key of the system's: it and every key above it never go whole, nor the keys up to
// `keptBelow` levels below it (a product's own key deeper down may).
struct SystemKey {
    const char* path;
    std::size_t keptBelow;
};

// Paths as seen from HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER (classes and Wow6432Node mapped).
constexpr SystemKey kSystemKeys[] = {
    {"", 1},  // a root and the keys right below it (SOFTWARE, SYSTEM, Software, Environment)
    {"SOFTWARE\\Classes", 1},  // file types, CLSID, Interface, TypeLib, AppID, *, Directory
    {"SOFTWARE\\Classes\\*\\shell", 0},
    {"SOFTWARE\\Classes\\*\\shellex", 1},
    {"SOFTWARE\\Classes\\AllFilesystemObjects\\shellex", 1},
    {"SOFTWARE\\Classes\\Directory\\shell", 0},
    {"SOFTWARE\\Classes\\Directory\\shellex", 1},
    {"SOFTWARE\\Classes\\Directory\\Background\\shell", 0},
    {"SOFTWARE\\Classes\\Directory\\Background\\shellex", 1},
    {"SOFTWARE\\Classes\\Drive\\shell", 0},
    {"SOFTWARE\\Classes\\Drive\\shellex", 1},
    {"SOFTWARE\\Classes\\Folder\\shell", 0},
    {"SOFTWARE\\Classes\\Folder\\shellex", 1},
    {"SOFTWARE\\Microsoft", 1},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 1},  // Run, Uninstall, App Paths ...
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer", 1},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", kWholeTree},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", kWholeTree},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx", kWholeTree},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices", kWholeTree},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce", kWholeTree},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies", kWholeTree},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 1},  // Fonts, Winlogon, IFEO ...
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", kWholeTree},
    {"SOFTWARE\\Microsoft\\Active Setup\\Installed Components", 0},
    {"SOFTWARE\\Policies", kWholeTree},
    {"SYSTEM", kWholeTree},
    {"SECURITY", kWholeTree},
    {"SAM", kWholeTree},
    {"HARDWARE", kWholeTree},
    {"BCD00000000", kWholeTree},
    {"Control Panel", 1},
};

using Parts = std::vector<std::string>;

Parts UpperParts(const std::string& path) {
    Parts parts = PathComponents(path);
    for (std::string& part : parts) part = UpperName(part);
    return parts;
}

// Whether `key` starts with the parts of `above`.
bool StartsWith(const Parts& key, const Parts& above) {
    if (key.size() < above.size()) return false;
    for (std::size_t i = 0; i < above.size(); ++i) {
        if (key[i] != above[i]) return false;
    }
    return true;
}

bool Kept(const Parts& key, const Parts& system, std::size_t keptBelow) {
    return StartsWith(system, key) ||
           (StartsWith(key, system) && key.size() - system.size() <= keptBelow);
}

// The key as seen from HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER; false for a key that never goes.
bool Normalise(RegistryRoot root, Parts& key) {
    if (root == RegistryRoot::CurrentConfig) return false;
    if (root == RegistryRoot::Users) {
        // A user's hive ("S-1-5-21-...", ".DEFAULT") or a user's classes ("..._Classes").
        if (key.empty()) return false;
        const std::string hive = key.front();
        key.erase(key.begin());
        constexpr char kClassesHive[] = "_CLASSES";
        constexpr std::size_t kSuffix = sizeof kClassesHive - 1;
        if (hive.size() > kSuffix &&
            hive.compare(hive.size() - kSuffix, kSuffix, kClassesHive) == 0)
            root = RegistryRoot::ClassesRoot;
    }
    if (root == RegistryRoot::ClassesRoot) key.insert(key.begin(), {"SOFTWARE", "CLASSES"});
    // Wow6432Node mirrors the key it stands in: SOFTWARE\Wow6432Node\X, Classes\Wow6432Node\X.
    for (std::size_t i = 1; i < key.size() && i <= 2 && key[0] == "SOFTWARE"; ++i) {
        if (key[i] == "WOW6432NODE") {
            key.erase(key.begin() + std::ptrdiff_t(i));
            break;
        }
        if (key[i] != "CLASSES") break;
    }
    return true;
}

}  // namespace

bool MayRemoveTree(RegistryRoot root, const std::string& keyPath) {
    Parts key = UpperParts(keyPath);
    if (!Normalise(root, key)) return false;
    for (const SystemKey& system : kSystemKeys) {
        if (Kept(key, UpperParts(system.path), system.keptBelow)) return false;
    }
    // The engine's records, which it removes value by value or entry by entry.
    for (const std::string& record :
         {std::string(kUninstallEntries), std::string(kShellFoldersKey), std::string(kNtFontsKey),
          std::string(kWin9xFontsKey), std::string(kEngineKey)}) {
        if (Kept(key, UpperParts(record), 0)) return false;
    }
    return true;
}

}  // namespace vesk
