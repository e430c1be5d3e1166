// Taking over the installed version of the product.
#include "install/Takeover.h"

#include <algorithm>

#include "install/RegistryErasure.h"
#include "install/Rollback.h"
#include "install/SharedFiles.h"
#include "project/NameCase.h"
#include "project/PathParts.h"
#include "project/RegistryKey.h"

namespace vesk {
namespace {

bool SameValue(const std::optional<RegistryValue>& a, const std::optional<RegistryValue>& b) {
    return a && b && a->type == b->type && a->data == b->data;
}

std::string FileIdentity(const std::string& path) {
    return ChangeIdentity(FileChange(ChangeKind::FileCreated, path));
}

// The deepest first.
template <typename Items>
void DeepestFirst(Items& items) {
    std::stable_sort(items.begin(), items.end(), [](const Change& a, const Change& b) {
        return PathComponents(a.path).size() > PathComponents(b.path).size();
    });
}

}  // namespace

bool Takeover::CountedBy(const ProductRecord& installed, const std::string& path) {
    return std::any_of(installed.changes.begin(), installed.changes.end(), [&](const Change& c) {
        return c.kind == ChangeKind::SharedFileCounted && SameName(c.name, path);
    });
}

void Takeover::RemoveLeftovers() {
    SetupSession& session = context_.session;
    for (const Change& change : session.records.Changes()) {
        touched_.insert(ChangeIdentity(change));
    }
    context_.Log(LogKind::Record, {"taking over ", installed_.title});
    std::vector<Change> keys, folders, values;
    std::set<std::string> shared;
    for (const Change& change : installed_.changes) {
        if (change.kind == ChangeKind::SharedFileCounted) shared.insert(FileIdentity(change.name));
    }
    for (const Change& change : installed_.changes) {
        if (change.keepAtUninstall || Touched(ChangeIdentity(change))) continue;
        switch (change.kind) {
            case ChangeKind::ComponentRegistered:
                session.records.Add(
                    FileChange(ChangeKind::ComponentUnregistered, change.path, change.copy));
                context_.services.processes.RunAndWait(
                    change.copy, RegistrationCommand(change.copy, change.path, true),
                    FolderOf(change.path), kShowNormal);
                context_.Log(LogKind::Component, {"unregistered ", change.path});
                break;
            case ChangeKind::FontAdded:
                if (context_.services.fonts) context_.services.fonts->RemoveResource(change.path);
                break;
            case ChangeKind::FontListed:
                if (Fonts* fonts = context_.services.fonts) {
                    Change listed = change;
                    const std::optional<std::string> now = fonts->Listing(change.name);
                    listed.before =
                        now ? std::optional<RegistryValue>(StringValue(*now)) : std::nullopt;
                    listed.after = change.before;
                    session.records.Add(listed);
                    if (change.before) {
                        fonts->Register(change.name, TextOf(*change.before));
                    } else {
                        fonts->Unlist(change.name);
                    }
                    fonts->AnnounceChange();
                }
                break;
            case ChangeKind::FileCreated:
                if (shared.count(ChangeIdentity(change)) == 0) TakeOverFile(change);
                break;
            case ChangeKind::SharedFileCounted:
                if (Touched(FileIdentity(change.name))) break;
                if (UncountSharedFile(session.registry.Inner(), session.records, change.name) ==
                    0) {
                    TakeOverFile(MadeOrFound(change.name));
                }
                break;
            case ChangeKind::RegistryValueSet:
                values.push_back(change);
                break;
            case ChangeKind::RegistryKeyCreated:
                // A key removed whole at the uninstall holds the user's settings: it stays.
                if (!change.wholeTree) keys.push_back(change);
                break;
            case ChangeKind::FolderCreated:
                folders.push_back(change);
                break;
            default:
                break;
        }
    }
    for (auto value = values.rbegin(); value != values.rend(); ++value) UndoValue(*value);
    DeepestFirst(keys);
    for (const Change& key : keys) {
        if (EraseEmptyRegistryKey(session.SystemRegistry(), key.root, key.path)) {
            context_.Log(LogKind::Registry,
                         {"removed the empty key ", RegistryRootName(key.root), "\\", key.path});
        }
    }
    DeepestFirst(folders);
    std::vector<std::string> used = session.folders.Lines();
    for (std::string& folder : used) folder = context_.Resolve(folder);
    used.push_back(context_.Resolve("[InstallDir]"));
    if (!session.programFolder.empty()) used.push_back(session.programFolder);
    for (const Change& folder : folders) {
        const bool inUse = std::any_of(used.begin(), used.end(), [&](const std::string& u) {
            return SameName(u, folder.path) || LiesBelow(u, folder.path);
        });
        if (inUse || !context_.services.files.RemoveFolder(folder.path)) continue;
        session.records.Add(FolderChange(ChangeKind::FolderRemoved, folder.path));
        context_.Log(LogKind::Folder, {folder.path, " (removed: the installed version's)"});
    }
}

Change Takeover::MadeOrFound(const std::string& path) const {
    const std::string identity = FileIdentity(path);
    for (const Change& change : installed_.changes) {
        if (IsFileChange(change.kind) && ChangeIdentity(change) == identity) return change;
    }
    return FileChange(ChangeKind::FileCreated, path);
}

void Takeover::TakeOverFile(const Change& made) {
    FileSystem& files = context_.services.files;
    if (!files.FileExists(made.path)) return;
    const std::optional<FileStamp> now = files.Stamp(made.path);
    if (made.stamp && now && *now != *made.stamp) {
        context_.Log(LogKind::File, {made.path, " stays: changed since the installed version"});
        return;
    }
    if (context_.keeper.Remove(made.path)) {
        context_.Log(LogKind::Removed, {made.path, " (the installed version's)"});
    }
}

void Takeover::UndoValue(const Change& value) {
    Registry& registry = context_.session.SystemRegistry();
    std::unique_ptr<RegistryHandle> key =
        registry.Open(value.root, value.path, RegistryAccess::All);
    if (!key || !SameValue(key->QueryValue(value.name), value.after)) return;
    if (value.before) {
        key->SetValue(value.name, *value.before);
    } else {
        key->DeleteValue(value.name);
    }
}

std::vector<Change> Takeover::Merge(const std::vector<Change>& fresh) const {
    Registry& registry = context_.session.SystemRegistry();
    FileSystem& files = context_.services.files;
    std::vector<Change> merged;
    std::set<std::string> inFresh;
    for (const Change& change : fresh) inFresh.insert(ChangeIdentity(change));
    for (const Change& change : installed_.changes) {
        const std::string identity = ChangeIdentity(change);
        bool stands = false;
        switch (change.kind) {
            case ChangeKind::FolderCreated:
                stands = files.FolderExists(change.path);
                break;
            case ChangeKind::RegistryKeyCreated:
                stands = registry.Open(change.root, change.path, RegistryAccess::Read) != nullptr;
                break;
            case ChangeKind::SharedFileCounted:
                stands = Touched(FileIdentity(change.name));
                break;
            default:
                break;
        }
        if (stands && inFresh.count(identity) == 0) merged.push_back(change);
    }
    for (Change change : fresh) {
        const std::string identity = ChangeIdentity(change);
        for (const Change& earlier : installed_.changes) {
            if (earlier.keepAtUninstall || ChangeIdentity(earlier) != identity) continue;
            if (change.kind == ChangeKind::FileReplaced &&
                earlier.kind == ChangeKind::FileCreated) {
                change.kind = ChangeKind::FileCreated;
            } else if (change.kind == earlier.kind &&
                       (change.kind == ChangeKind::RegistryValueSet ||
                        change.kind == ChangeKind::FontListed ||
                        change.kind == ChangeKind::SharedFileCounted)) {
                change.before = earlier.before;
            }
        }
        merged.push_back(std::move(change));
    }
    return merged;
}

}  // namespace vesk
