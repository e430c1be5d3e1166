// The findings of a run, in the order a packager meets them.
#include "builder/trial/ChangeText.h"
#include "builder/trial/RegistryHive.h"
#include "builder/trial/TrialResult.h"

namespace vesk::trial {
namespace {

constexpr long kRestartPending = 3010;

const char* Done(ChangeKind kind) {
    switch (kind) {
        case ChangeKind::Added:
            return "left behind: ";
        case ChangeKind::Changed:
            return "changed and not restored: ";
        case ChangeKind::Removed:
            return "removed and not restored: ";
    }
    return "";
}

void AddWalk(std::vector<std::string>& findings, const WalkAccount& walk, const char* which) {
    for (const std::string& failure : walk.failures) {
        findings.push_back(std::string("the walk through the ") + which + " stopped: " + failure);
    }
    for (const WalkStep& step : walk.steps) {
        if (step.kind == "window") {
            findings.push_back(std::string("the unattended ") + which + " showed a window: \"" +
                               step.text + "\"");
        }
    }
}

// Whether `change` is a key that came and stays while something below it is named as well.
bool NamedBelow(const RegistryChange& change, const std::vector<RegistryChange>& all) {
    if (!change.wholeKey || change.kind != ChangeKind::Added) return false;
    const std::string key = FoldedName(change.key);
    for (const RegistryChange& other : all) {
        const std::string below = FoldedName(other.key);
        if (&other == &change) continue;
        if ((!other.wholeKey && below == key) ||
            below.compare(0, key.size() + 1, key + "\\") == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool Installed(long setupExit) {
    return setupExit == 0 || setupExit == kRestartPending;
}

bool Removed(long uninstallerExit) {
    return uninstallerExit == 0 || uninstallerExit == kRestartPending;
}

std::vector<std::string> Findings::All() const {
    std::vector<std::string> all = failures;
    all.insert(all.end(), traces.begin(), traces.end());
    return all;
}

Findings ListFindings(const TrialResult& result) {
    Findings found;
    std::vector<std::string>& failures = found.failures;
    AddWalk(failures, result.install, "setup");
    if (!result.install.setupEnded) {
        failures.push_back("the setup did not end");
    } else if (!Installed(result.install.setupExit)) {
        failures.push_back("the setup failed: exit code " +
                           std::to_string(result.install.setupExit));
    }
    if (Installed(result.install.setupExit) && result.installed.uninstallEntries.empty()) {
        failures.push_back("the install left no uninstall entry: the product cannot be removed");
    }
    for (const ShortcutReading& link : result.removal.shortcuts) {
        if (!link.unreadWhy.empty()) {
            failures.push_back("the shortcut " + link.link + " cannot be read: " + link.unreadWhy);
        }
    }
    if (result.removalRan) {
        AddWalk(failures, result.removal, "uninstaller");
        if (!result.removal.uninstallerEnded) {
            failures.push_back("the uninstaller did not end");
        } else if (!Removed(result.removal.uninstallerExit)) {
            failures.push_back("the uninstaller failed: exit code " +
                               std::to_string(result.removal.uninstallerExit));
        }
    }
    const MachineChanges& left = result.leftovers.findings;
    for (const FileChange& change : left.files) {
        found.traces.push_back(Done(change.kind) + DescribeFile(change));
    }
    for (const RegistryChange& change : left.registry) {
        if (!NamedBelow(change, left.registry)) {
            found.traces.push_back(Done(change.kind) + DescribeRegistry(change));
        }
    }
    return found;
}

}  // namespace vesk::trial
