// Carrying out an uninstall plan.
#include "uninstaller/UninstallWorker.h"

#include "install/Fonts.h"
#include "install/RegistryErasure.h"
#include "install/Rollback.h"
#include "project/PathParts.h"
#include "project/RegistryKey.h"
#include "uninstaller/RemovableFolders.h"

namespace vesk {
namespace {

constexpr int kFullBar = 100;

UninstallText StatusOf(RemovalPhase phase) {
    switch (phase) {
        case RemovalPhase::Registry:
            return UninstallText::RemoveRegistryDesc;
        case RemovalPhase::Folders:
            return UninstallText::RemoveFolderDesc;
        case RemovalPhase::Files:
            break;
    }
    return UninstallText::RemoveFileDesc;
}

// What the item line shows: the path, a registry key under its root's full name.
std::string ItemOf(const Removal& removal) {
    switch (removal.kind) {
        case RemovalKind::RegistryValue:
        case RemovalKind::RegistryRestore:
        case RemovalKind::RegistryTree:
        case RemovalKind::EmptyRegistryKey:
            break;
        case RemovalKind::FontListing:
            return removal.name;
        default:
            return removal.path;
    }
    std::string item = RegistryRootName(removal.root);
    item += '\\';
    item += removal.path;
    if (removal.kind == RemovalKind::RegistryValue ||
        removal.kind == RemovalKind::RegistryRestore) {
        item += '\\';
        item += removal.name;
    }
    return item;
}

}  // namespace

UninstallResult UninstallWorker::Run(const UninstallPlan& plan) {
    UninstallResult result;
    const std::size_t total = plan.removals.size();
    bool first = true;
    RemovalPhase phase = RemovalPhase::Files;
    for (std::size_t i = 0; i < total; ++i) {
        const Removal& removal = plan.removals[i];
        if (first || removal.phase != phase) {
            phase = removal.phase;
            first = false;
            report_.SetStatus(texts_.Get(StatusOf(phase)));
        }
        report_.SetItem(ItemOf(removal));
        Remove(removal, result);
        report_.SetProgress(int((i + 1) * kFullBar / total));
    }
    if (fontsChanged_) services_.fonts.AnnounceChange();
    report_.SetItem(std::string());
    report_.SetProgress(kFullBar);
    return result;
}

void UninstallWorker::Remove(const Removal& removal, UninstallResult& result) {
    Registry& registry = services_.registry;
    switch (removal.kind) {
        case RemovalKind::Font:
            RemoveFont(services_.fonts, removal.path);
            break;
        case RemovalKind::FontResource:
            fontsChanged_ = services_.fonts.RemoveResource(removal.path) || fontsChanged_;
            break;
        case RemovalKind::FontListing:
            if (removal.value) {
                services_.fonts.Register(removal.name, TextOf(*removal.value));
            } else {
                services_.fonts.Unlist(removal.name);
            }
            fontsChanged_ = true;
            break;
        case RemovalKind::Component:
            services_.processes.RunAndWait(removal.program,
                                           RegistrationCommand(removal.program, removal.path, true),
                                           FolderOf(removal.path), kShowNormal);
            break;
        case RemovalKind::File:
            RemoveFile(removal.path, result);
            break;
        case RemovalKind::Folder:
            RemoveFolder(removal.path, result);
            break;
        case RemovalKind::RegistryValue:
            EraseRegistryValue(registry, removal.root, removal.path, removal.name);
            break;
        case RemovalKind::RegistryRestore:
            if (auto key = registry.Open(removal.root, removal.path, RegistryAccess::All)) {
                if (removal.value) key->SetValue(removal.name, *removal.value);
            }
            break;
        case RemovalKind::RegistryTree:
            EraseRegistryTree(registry, removal.root, removal.path);
            break;
        case RemovalKind::EmptyRegistryKey:
            EraseEmptyRegistryKey(registry, removal.root, removal.path);
            break;
    }
}

void UninstallWorker::RemoveFile(const std::string& path, UninstallResult& result) {
    FileSystem& files = services_.files;
    if (!files.FileExists(path) || files.RemoveFile(path) || !files.FileExists(path)) return;
    // A product may mark its files read-only; the uninstall removes them all the same.
    if (files.ClearReadOnly(path) && files.RemoveFile(path)) return;
    if (files.RemoveAtRestart(path)) {
        result.atRestart.push_back(path);
    } else {
        result.left.push_back(path);
    }
}

void UninstallWorker::RemoveFolder(const std::string& path, UninstallResult& result) {
    FileSystem& files = services_.files;
    if (!files.FolderExists(path) || files.RemoveFolder(path)) return;
    // A folder kept only by files that go at the restart goes after them; the system removes
    // scheduled items in the order they were asked for. One that holds anything else stays.
    bool waitsForRestart = false;
    for (const std::string& file : result.atRestart) {
        waitsForRestart = waitsForRestart || RemovableFolders::Below(file, path);
    }
    if (waitsForRestart) files.RemoveAtRestart(path);
}

}  // namespace vesk
