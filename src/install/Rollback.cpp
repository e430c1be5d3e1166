// Undoing a run's changes.
#include "install/Rollback.h"

#include <set>

#include "install/RegistryErasure.h"
#include "install/RunAndWait.h"
#include "platform/Concat.h"
#include "project/NameCase.h"
#include "project/PathParts.h"

namespace vesk {
namespace {

// The key `path` of `root`, made when it is missing; null when it cannot be.
std::unique_ptr<RegistryHandle> OpenOrMake(Registry& registry, RegistryRoot root,
                                           const std::string& path) {
    if (std::unique_ptr<RegistryHandle> key = registry.Open(root, path, RegistryAccess::All)) {
        return key;
    }
    std::unique_ptr<RegistryHandle> top = registry.Open(root, "", RegistryAccess::All);
    return top ? top->CreateSubKey(path) : nullptr;
}

// Gives the value `name` of the key `path` the state `before`: its data, or absent.
void PutBackValue(Registry& registry, RegistryRoot root, const std::string& path,
                  const std::string& name, const std::optional<RegistryValue>& before) {
    if (!before) {
        EraseRegistryValue(registry, root, path, name);
        return;
    }
    if (std::unique_ptr<RegistryHandle> key = OpenOrMake(registry, root, path)) {
        key->SetValue(name, *before);
    }
}

void PutBackListing(Fonts& fonts, const Change& change) {
    if (change.before) {
        fonts.Register(change.name, TextOf(*change.before));
    } else {
        fonts.Unlist(change.name);
    }
}

void RunRegistration(Processes& processes, const Change& change, bool undo) {
    processes.RunAndWait(change.copy, RegistrationCommand(change.copy, change.path, undo),
                         FolderOf(change.path), kShowNormal);
}

// Step 1: everything but files and folders, the newest first.
void UndoSystemChanges(const std::vector<Change>& changes, UndoServices& services) {
    bool fontsChanged = false;
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        switch (change->kind) {
            case ChangeKind::ComponentRegistered:
            case ChangeKind::ComponentUnregistered:
                RunRegistration(services.processes, *change,
                                change->kind == ChangeKind::ComponentRegistered);
                break;
            case ChangeKind::FontAdded:
                services.fonts.RemoveResource(change->path);
                fontsChanged = true;
                break;
            case ChangeKind::FontListed:
                PutBackListing(services.fonts, *change);
                fontsChanged = true;
                break;
            case ChangeKind::RegistryValueSet:
            case ChangeKind::RegistryValueDeleted:
            case ChangeKind::SharedFileCounted:
                PutBackValue(services.registry, change->root, change->path, change->name,
                             change->before);
                break;
            case ChangeKind::RegistryKeyDeleted:
                if (std::unique_ptr<RegistryHandle> key =
                        OpenOrMake(services.registry, change->root, change->path)) {
                    for (const NamedRegistryValue& value : change->values) {
                        key->SetValue(value.name, value.value);
                    }
                }
                break;
            case ChangeKind::RegistryKeyCreated:
                EraseRegistryTree(services.registry, change->root, change->path);
                break;
            default:
                break;
        }
    }
    if (fontsChanged) services.fonts.AnnounceChange();
}

void DeleteFile(FileRemoval& files, const std::string& path) {
    if (files.RemoveFile(path)) return;
    if (files.ClearReadOnly(path)) files.RemoveFile(path);
}

// Step 2: files, and the folders they need.
void UndoFileChanges(const std::vector<Change>& changes, FileRemoval& files) {
    // A name that held a file before the run gets that file back, never a deletion.
    std::set<std::string> found;
    for (const Change& change : changes) {
        if (change.kind == ChangeKind::FileReplaced || change.kind == ChangeKind::FileOverwritten ||
            change.kind == ChangeKind::FileRemoved) {
            found.insert(UpperName(change.path));
        }
    }
    for (const Change& change : changes) {
        if (change.kind == ChangeKind::FolderRemoved) files.CreateFolder(change.path);
    }
    for (const Change& change : changes) {
        if (change.kind == ChangeKind::FileCreated && found.count(UpperName(change.path)) == 0) {
            DeleteFile(files, change.path);
        } else if (change.kind == ChangeKind::FileAtRestart) {
            DeleteFile(files, change.copy);
        }
    }
    for (const Change& change : changes) {
        const bool kept =
            change.kind == ChangeKind::FileReplaced || change.kind == ChangeKind::FileRemoved;
        if (!kept || change.copy.empty()) continue;
        if (change.kind == ChangeKind::FileReplaced) DeleteFile(files, change.path);
        // Should the run's file refuse to go, the earlier one takes its place at the restart.
        if (!files.RenameFile(change.copy, change.path)) {
            files.ReplaceAtRestart(change.copy, change.path);
        }
    }
}

}  // namespace

std::string RegistrationCommand(const std::string& program, const std::string& path, bool undo) {
    if (undo) return Concat({Quoted(program), " /u /s ", Quoted(path)});
    return Concat({Quoted(program), " ", Quoted(path), " /s"});
}

void RollBack(const std::vector<Change>& changes, UndoServices& services) {
    UndoSystemChanges(changes, services);
    UndoFileChanges(changes, services.files);
    // Give the system a moment to let go of the files, and leave no folder of the run current.
    services.files.Pause(100);
    services.files.SetCurrentFolder("C:\\");
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        if (change->kind == ChangeKind::FolderCreated) services.files.RemoveFolder(change->path);
    }
}

void LetGoOfCopies(const std::vector<std::string>& copies, FileRemoval& files) {
    for (const std::string& copy : copies) {
        if (files.RemoveFile(copy)) continue;
        if (files.ClearReadOnly(copy) && files.RemoveFile(copy)) continue;
        files.RemoveAtRestart(copy);
    }
}

}  // namespace vesk
