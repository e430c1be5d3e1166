// Fuzzes the uninstaller's reading of a log and its command line: any bytes plan without a fault,
// and whatever a log says, the plan only removes full paths without "." or ".." parts, never a
// folder of the system or above one, folders the deepest first, never a registry root or a key
// above the system's records whole, and never the shared uninstaller.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "install/KeyTreeRule.h"
#include "project/NameCase.h"
#include "project/PathParts.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"
#include "uninstaller/RegistryRemovals.h"
#include "uninstaller/RemovableFolders.h"
#include "uninstaller/UninstallCommand.h"
#include "uninstaller/UninstallPlan.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool FullPath(const std::string& path) {
    const bool fromDrive = path.size() > 3 && path[1] == ':' && path[2] == '\\';
    const bool fromShare = path.size() > 2 && path[0] == '\\' && path[1] == '\\';
    if (!fromDrive && !fromShare) return false;
    for (const std::string& part : vesk::PathComponents(path)) {
        if (part == "." || part == "..") return false;
    }
    return true;
}

vesk::test::MemoryRegistry& Machine() {
    static vesk::test::MemoryRegistry registry = [] {
        vesk::test::MemoryRegistry r;
        const std::string shell =
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
        r.PutString(vesk::RegistryRoot::LocalMachine, shell, "Common Programs",
                    "C:\\All Users\\Start Menu\\Programs");
        r.PutString(vesk::RegistryRoot::LocalMachine, shell, "Common Startup",
                    "C:\\All Users\\Start Menu\\Programs\\Startup");
        r.PutString(vesk::RegistryRoot::LocalMachine, shell, "Common AppData",
                    "C:\\Documents and Settings\\All Users\\Application Data");
        return r;
    }();
    return registry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const vesk::UninstallCommand command = vesk::ParseUninstallCommand(text);
    if (command.error.empty() && !command.help) {
        Check(!command.logPath.empty() && command.logPath.find('"') == std::string::npos);
    }
    (void)vesk::ArgumentsOf(text);

    vesk::InstallProject log;
    log.Parse(text);
    if (log.ProjectName().empty()) return 0;
    static const vesk::test::FakeSystemFacts facts;
    const std::string folder = "C:\\Program Files\\Demo";
    vesk::PathResolver paths(facts, Machine(), folder);
    const vesk::UninstallPlan plan =
        vesk::PlanUninstall({log, folder + "\\VeskInstall Demo 1.2.xml", "Uninstall "}, paths);

    std::size_t lastDepth = 0;
    bool inFolders = false;
    for (const vesk::Removal& removal : plan.removals) {
        switch (removal.kind) {
            case vesk::RemovalKind::Font:
            case vesk::RemovalKind::File:
                Check(!inFolders);
                Check(FullPath(removal.path));
                Check(!vesk::SameName(removal.path, "C:\\WINDOWS\\Vesk-UnInstall.exe"));
                break;
            case vesk::RemovalKind::Folder: {
                Check(FullPath(removal.path));
                Check(!vesk::SameName(removal.path, "C:\\WINDOWS") &&
                      !vesk::RemovableFolders::Below(removal.path, "C:\\WINDOWS"));
                for (const char* guarded :
                     {"C:\\Program Files", "C:\\TEMP", "C:\\Documents and Settings\\Ann\\Desktop",
                      "C:\\All Users\\Start Menu\\Programs"}) {
                    Check(!vesk::SameName(removal.path, guarded) &&
                          !vesk::RemovableFolders::Below(guarded, removal.path));
                }
                const std::size_t depth = vesk::PathComponents(removal.path).size();
                Check(!inFolders || depth <= lastDepth);
                lastDepth = depth;
                inFolders = true;
                break;
            }
            case vesk::RemovalKind::RegistryTree:
                Check(vesk::MayRemoveTree(removal.root, removal.path));
                break;
            default:  // values, empty keys, fonts' listings, components: no rule to check
                break;
        }
    }
    return 0;
}
