// Fuzzes the uninstaller's rule for removing a registry key with everything in it: the input is
// a RegSubKey as a log writes it ("\SOFTWARE\Vendor\Product"). Whatever it says, a key at the
// first level below a root, and the keys at or above the system's own records (uninstall entries,
// shell folders, fonts, the engine's key), are never removed whole, in any letter case and
// however many backslashes separate the names; checked against the names compared one by one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "install/UninstallRecord.h"
#include "platform/Fonts.h"
#include "project/EngineKey.h"
#include "project/NameCase.h"
#include "project/PathParts.h"
#include "project/PathResolver.h"
#include "uninstaller/RegistryRemovals.h"

namespace {

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
    const std::string subKey(reinterpret_cast<const char*>(data), size);
    const std::string keyPath = vesk::RegistryKeyPathOf(subKey);
    const bool whole = vesk::MayRemoveTree(keyPath);
    const std::vector<std::string> key = UpperParts(keyPath);
    if (whole) {
        Check(key.size() >= 2);
        for (const std::string& record :
             {std::string(vesk::kUninstallEntries), std::string(vesk::kShellFoldersKey),
              std::string(vesk::kNtFontsKey), std::string(vesk::kWin9xFontsKey),
              std::string(vesk::kEngineKey)}) {
            Check(!AtOrAbove(key, record));
        }
    }
    // The names decide, not their spelling: letter case and doubled backslashes change nothing.
    std::string doubled = "\\";
    for (const std::string& part : vesk::PathComponents(keyPath)) doubled += "\\\\" + part;
    Check(vesk::MayRemoveTree(vesk::RegistryKeyPathOf(doubled)) == whole);
    if (AllAscii(keyPath)) {
        std::string lower = keyPath;
        for (char& c : lower) {
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        }
        Check(vesk::MayRemoveTree(lower) == whole);
        Check(vesk::MayRemoveTree(vesk::UpperName(keyPath)) == whole);
    }
    return 0;
}
