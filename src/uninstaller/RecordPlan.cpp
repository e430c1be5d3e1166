// Planning an uninstall from a product record.
#include "uninstaller/RecordPlan.h"

#include <algorithm>
#include <set>

#include "install/KeyTreeRule.h"
#include "install/SharedFiles.h"
#include "platform/Concat.h"
#include "project/NameCase.h"
#include "project/PathParts.h"
#include "project/RegistryKey.h"
#include "uninstaller/RemovableFolders.h"

namespace vesk {
namespace {

bool SameValue(const std::optional<RegistryValue>& a, const std::optional<RegistryValue>& b) {
    return a && b && a->type == b->type && a->data == b->data;
}

class RecordPlanner {
public:
    RecordPlanner(const ProductRecord& record, const std::string& recordPath,
                  const PathResolver& paths)
        : record_(record), recordPath_(recordPath), paths_(paths) {
        plan_.title = record.title;
        plan_.installFolder = record.installFolder;
    }

    UninstallPlan Make() {
        CountSharedFiles();
        for (const Change& change : record_.changes) {
            if (change.keepAtUninstall) {
                if (IsFileChange(change.kind)) plan_.kept.push_back(change.path + ": shared");
                continue;
            }
            switch (change.kind) {
                case ChangeKind::ComponentRegistered:
                    if (Goes(change.path)) {
                        components_.push_back(
                            Removal{RemovalKind::Component, RemovalPhase::Files, change.path});
                        components_.back().program = change.copy;
                    }
                    break;
                case ChangeKind::FontAdded:
                    fonts_.push_back({RemovalKind::FontResource, RemovalPhase::Files, change.path});
                    break;
                case ChangeKind::FontListed:
                    fonts_.push_back({RemovalKind::FontListing, RemovalPhase::Files, change.path});
                    fonts_.back().name = change.name;
                    fonts_.back().value = change.before;
                    break;
                case ChangeKind::FileCreated:
                    AddFile(change.path);
                    break;
                case ChangeKind::FileReplaced:
                    // A counted file goes at zero whoever put it there first.
                    if (shared_.count(UpperName(change.path)) != 0) {
                        AddFile(change.path);
                    } else {
                        plan_.kept.push_back(change.path + ": it was there before the install");
                    }
                    break;
                case ChangeKind::RegistryValueSet:
                    AddValue(change);
                    break;
                case ChangeKind::RegistryKeyCreated:
                    // A key the install made goes whole where its item asked, unless it is one
                    // of the system's trees, whatever the record says.
                    keys_.push_back({change.wholeTree && MayRemoveTree(change.root, change.path)
                                         ? RemovalKind::RegistryTree
                                         : RemovalKind::EmptyRegistryKey,
                                     RemovalPhase::Registry, change.path, change.root});
                    break;
                case ChangeKind::FolderCreated:
                    folders_.push_back(change.path);
                    break;
                default:
                    break;
            }
        }
        std::vector<Removal>& removals = plan_.removals;
        removals.insert(removals.end(), components_.begin(), components_.end());
        removals.insert(removals.end(), fonts_.begin(), fonts_.end());
        removals.insert(removals.end(), files_.begin(), files_.end());
        // The values the newest first, so one written twice ends as it was first.
        removals.insert(removals.end(), values_.rbegin(), values_.rend());
        std::stable_sort(keys_.begin(), keys_.end(), [](const Removal& a, const Removal& b) {
            return PathComponents(a.path).size() > PathComponents(b.path).size();
        });
        removals.insert(removals.end(), keys_.begin(), keys_.end());
        if (!record_.logPath.empty()) {
            removals.push_back({RemovalKind::File, RemovalPhase::Files, record_.logPath});
        }
        removals.push_back({RemovalKind::File, RemovalPhase::Files, recordPath_});
        RemovableFolders folders(GuardedFolders(paths_), paths_.Resolve("[Windows Directory]"));
        for (const std::string& folder : folders_) folders.Add(folder);
        for (const std::string& folder : folders.InRemovalOrder()) {
            removals.push_back({RemovalKind::Folder, RemovalPhase::Folders, folder});
        }
        return std::move(plan_);
    }

private:
    // Shared files: each count as it is now, and whether this removal brings it to zero.
    void CountSharedFiles() {
        RegistryKey counts(paths_.SystemRegistry());
        counts.OpenForReading("\\" + std::string(kSharedFilesKey));
        for (const Change& change : record_.changes) {
            if (change.kind != ChangeKind::SharedFileCounted || change.keepAtUninstall) continue;
            const std::uint32_t count =
                counts.IsOpen() ? SharedCountOf(counts.Handle()->QueryValue(change.name)) : 0;
            const std::string file = UpperName(change.name);
            shared_.insert(file);
            Removal value{count > 1 ? RemovalKind::RegistryRestore : RemovalKind::RegistryValue,
                          RemovalPhase::Registry, kSharedFilesKey, RegistryRoot::LocalMachine,
                          change.name};
            if (count > 1) {
                value.value = SharedCountValue(count - 1);
                staying_.insert(file);
                plan_.kept.push_back(Concat(
                    {change.name, ": used by ", std::to_string(count - 1), " other install(s)"}));
            }
            values_.push_back(value);
        }
    }

    // Whether the file at `path` goes with this uninstall.
    bool Goes(const std::string& path) const { return staying_.count(UpperName(path)) == 0; }

    void AddFile(const std::string& path) {
        if (!Goes(path)) return;
        files_.push_back({RemovalKind::File, RemovalPhase::Files, path});
    }

    void AddValue(const Change& change) {
        RegistryKey key(paths_.SystemRegistry(), change.root);
        const bool unchanged = key.OpenForReading("\\" + change.path) &&
                               SameValue(key.Handle()->QueryValue(change.name), change.after);
        if (!unchanged) {
            plan_.kept.push_back(
                Concat({RegistryRootName(change.root), "\\", change.path, "\\", change.name,
                        ": changed since the install, left as it is"}));
            return;
        }
        Removal removal{RegistryKind(change), RemovalPhase::Registry, change.path, change.root,
                        change.name};
        removal.value = change.before;
        values_.push_back(removal);
    }

    static RemovalKind RegistryKind(const Change& change) {
        return change.before ? RemovalKind::RegistryRestore : RemovalKind::RegistryValue;
    }

    const ProductRecord& record_;
    const std::string& recordPath_;
    const PathResolver& paths_;
    UninstallPlan plan_;
    std::set<std::string> shared_;   // upper-cased paths of counted files
    std::set<std::string> staying_;  // ... whose count stays above zero
    std::vector<Removal> components_, fonts_, files_, values_, keys_;
    std::vector<std::string> folders_;
};

}  // namespace

UninstallPlan PlanFromRecord(const ProductRecord& record, const std::string& recordPath,
                             const PathResolver& paths) {
    return RecordPlanner(record, recordPath, paths).Make();
}

}  // namespace vesk
