// The findings of a run, in the order a packager meets them.
#include "trial/ChangeText.h"
#include "trial/TrialResult.h"

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

}  // namespace

bool Installed(long setupExit) {
    return setupExit == 0 || setupExit == kRestartPending;
}

bool Removed(long uninstallerExit) {
    return uninstallerExit == 0 || uninstallerExit == kRestartPending;
}

std::vector<std::string> ListFindings(const TrialResult& result) {
    std::vector<std::string> findings;
    AddWalk(findings, result.install, "setup");
    if (!result.install.setupEnded) {
        findings.push_back("the setup did not end");
    } else if (!Installed(result.install.setupExit)) {
        findings.push_back("the setup failed: exit code " +
                           std::to_string(result.install.setupExit));
    }
    if (Installed(result.install.setupExit) && result.installed.uninstallEntries.empty()) {
        findings.push_back("the install left no uninstall entry: the product cannot be removed");
    }
    for (const ShortcutReading& link : result.removal.shortcuts) {
        if (!link.unreadWhy.empty()) {
            findings.push_back("the shortcut " + link.link + " cannot be read: " + link.unreadWhy);
        }
    }
    if (result.removalRan) {
        AddWalk(findings, result.removal, "uninstaller");
        if (!result.removal.uninstallerEnded) {
            findings.push_back("the uninstaller did not end");
        } else if (!Removed(result.removal.uninstallerExit)) {
            findings.push_back("the uninstaller failed: exit code " +
                               std::to_string(result.removal.uninstallerExit));
        }
    }
    for (const FileChange& change : result.leftovers.findings.files) {
        findings.push_back(Done(change.kind) + DescribeFile(change));
    }
    for (const RegistryChange& change : result.leftovers.findings.registry) {
        findings.push_back(Done(change.kind) + DescribeRegistry(change));
    }
    return findings;
}

}  // namespace vesk::trial
