// Two readings of a hive compared key by key, both walked in the order of their folded paths.
#include "builder/trial/HiveComparison.h"

#include "builder/trial/SortedMerge.h"

namespace vesk::trial {
namespace {

std::string FullPath(const std::string& root, const HiveKey& key) {
    return key.path.empty() ? root : root + "\\" + key.path;
}

void AddValues(std::vector<RegistryChange>& changes, ChangeKind kind, const std::string& path,
               const HiveKey& key) {
    for (const auto& [folded, value] : key.values) {
        RegistryChange change{kind, path, false, value.name, {}, {}};
        (kind == ChangeKind::Added ? change.after : change.before) = value.data;
        changes.push_back(std::move(change));
    }
}

void AddWholeKey(std::vector<RegistryChange>& changes, ChangeKind kind, const std::string& root,
                 const HiveKey& key) {
    const std::string path = FullPath(root, key);
    changes.push_back({kind, path, true, {}, {}, {}});
    AddValues(changes, kind, path, key);
}

void CompareValues(std::vector<RegistryChange>& changes, const std::string& root,
                   const HiveKey& before, const HiveKey& after) {
    const std::string path = FullPath(root, after);
    MergeSorted(
        before.values, after.values,
        [&](const std::string&, const HiveValue& old) {
            changes.push_back({ChangeKind::Removed, path, false, old.name, old.data, {}});
        },
        [&](const std::string&, const HiveValue& now) {
            changes.push_back({ChangeKind::Added, path, false, now.name, {}, now.data});
        },
        [&](const std::string&, const HiveValue& old, const HiveValue& now) {
            if (old.data != now.data) {
                changes.push_back({ChangeKind::Changed, path, false, now.name, old.data, now.data});
            }
        });
}

}  // namespace

std::vector<RegistryChange> CompareHives(const RegistryHive& before, const RegistryHive& after,
                                         const std::string& root) {
    std::vector<RegistryChange> changes;
    MergeSorted(
        before.Keys(), after.Keys(),
        [&](const std::string&, const HiveKey& old) {
            AddWholeKey(changes, ChangeKind::Removed, root, old);
        },
        [&](const std::string&, const HiveKey& now) {
            AddWholeKey(changes, ChangeKind::Added, root, now);
        },
        [&](const std::string&, const HiveKey& old, const HiveKey& now) {
            CompareValues(changes, root, old, now);
        });
    return changes;
}

}  // namespace vesk::trial
