// Sorting an install's changes by what they are, and the removal's rest by whose it is.
#include "builder/trial/InstallReading.h"

#include <map>
#include <string_view>

#include "builder/trial/RegistryHive.h"
#include "project/EngineKey.h"

namespace vesk::trial {
namespace {

// In folded form. Wine's Windows folder and its fonts folder.
constexpr char kFontsFolder[] = "C:\\WINDOWS\\FONTS\\";
// The system's font tables (Windows NT's and the older Windows one Wine keeps beside it) end so.
constexpr char kFontTable[] = "\\CURRENTVERSION\\FONTS";
// Windows' list of installed programs: each entry is a key below it.
constexpr char kUninstallEntries[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\";
constexpr char kLinkSuffix[] = ".LNK";
// The engine's shared records: the uninstaller, the folder of its language files.
constexpr char kSharedUninstaller[] = "C:\\WINDOWS\\VESK-UNINSTALL.EXE";
constexpr char kSharedLanguageFolder[] = "C:\\WINDOWS\\SYSTEM32\\VESKINSTALL";
constexpr char kSharedVersionValue[] = "LASTVERSION";
constexpr char kMachineSoftware[] = "HKEY_LOCAL_MACHINE\\SOFTWARE";

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The entry's name when `key` is an uninstall entry (one level below the list), else "".
std::string UninstallEntryName(const std::string& key) {
    const std::string folded = FoldedName(key);
    if (!StartsWith(folded, kUninstallEntries)) return std::string();
    const std::string name = key.substr(sizeof kUninstallEntries - 1);
    return name.find('\\') == std::string::npos ? name : std::string();
}

std::string EngineKey() {
    return FoldedName(std::string("HKEY_LOCAL_MACHINE") + kEngineKey);
}

bool IsShared(const FileChange& change) {
    const std::string path = FoldedName(change.path);
    return path == kSharedUninstaller || path == kSharedLanguageFolder ||
           StartsWith(path, std::string(kSharedLanguageFolder) + "\\");
}

// The engine's key and the keys made on the way to it hold LastVersion for every product.
bool IsShared(const RegistryChange& change) {
    const std::string key = FoldedName(change.key);
    const std::string engine = EngineKey();
    if (!change.wholeKey) return key == engine && FoldedName(change.name) == kSharedVersionValue;
    return key.size() > std::string_view(kMachineSoftware).size() &&
           StartsWith(engine + "\\", key + "\\");
}

}  // namespace

InstallReading ReadInstall(const MachineChanges& changes) {
    InstallReading reading;
    for (const FileChange& change : changes.files) {
        const std::string path = FoldedName(change.path);
        if (change.type == EntryType::Folder) {
            reading.folders.push_back(change);
        } else if (StartsWith(path, kFontsFolder)) {
            reading.fontFiles.push_back(change);
        } else if (EndsWith(path, kLinkSuffix)) {
            reading.shortcuts.push_back(change);
        } else {
            reading.files.push_back(change);
        }
    }
    std::map<std::string, std::size_t> entries;  // folded entry key -> index
    for (const RegistryChange& change : changes.registry) {
        const std::string entry = UninstallEntryName(change.key);
        if (!entry.empty() && change.kind == ChangeKind::Added) {
            auto [it, added] =
                entries.emplace(FoldedName(change.key), reading.uninstallEntries.size());
            if (added) reading.uninstallEntries.push_back({change.key, entry, {}});
            if (!change.wholeKey) reading.uninstallEntries[it->second].values.push_back(change);
        } else if (!change.wholeKey && EndsWith(FoldedName(change.key), kFontTable)) {
            reading.fontValues.push_back(change);
        } else {
            reading.registry.push_back(change);
        }
    }
    return reading;
}

Leftovers ReadLeftovers(const MachineChanges& changes) {
    Leftovers left;
    for (const FileChange& change : changes.files) {
        (IsShared(change) ? left.shared : left.findings).files.push_back(change);
    }
    for (const RegistryChange& change : changes.registry) {
        (IsShared(change) ? left.shared : left.findings).registry.push_back(change);
    }
    return left;
}

}  // namespace vesk::trial
