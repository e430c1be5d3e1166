// Registry removals of an uninstall plan.
#include "uninstaller/RegistryRemovals.h"

#include <algorithm>
#include <set>

#include "project/NameCase.h"
#include "project/PathParts.h"
#include "project/RegistryKey.h"
#include "project/TaskSlots.h"
#include "project/TextKey.h"

namespace vesk {
namespace {

// Whether the subtask is an EditBox the user information page wrote a text to.
bool WrittenByUserPage(const SubTask& subtask) {
    if (subtask.Type() != SubTaskType::EditBox) return false;
    for (const Field& field : subtask.Fields()) {
        if (field.Kind() != FieldKind::Description) continue;
        const int text = TextKeyFromReference(field.Value());
        if (text == int(TextKey::RegisterInfoUserDesc) ||
            text == int(TextKey::RegisterInfoCompanyDesc)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void RegistryRemovals::AddItemsOf(const InstallProject& log) {
    // Each task's items ran with a key of their own that started at HKEY_LOCAL_MACHINE.
    if (const Task* page = log.FindSlotTask(kSlotUserInformation)) {
        RegistryRoot root = RegistryRoot::LocalMachine;
        for (const SubTask& subtask : page->SubTasks()) {
            if (!WrittenByUserPage(subtask)) continue;
            const RegistryItem item = ReadRegistryItem(subtask);
            if (item.root) root = *item.root;
            AddItem(root, item);
        }
    }
    if (const Task* task = log.FindSlotTask(kSlotRegistry)) {
        RegistryRoot root = RegistryRoot::LocalMachine;
        for (const SubTask& subtask : task->SubTasks()) {
            if (subtask.Type() != SubTaskType::Registry) continue;
            const RegistryItem item = ReadRegistryItem(subtask);
            if (item.root) root = *item.root;
            AddItem(root, item);
        }
    }
}

void RegistryRemovals::AddItem(RegistryRoot root, const RegistryItem& item) {
    if (!item.toDelete || item.operation != kRegistryWriteOperation) return;
    const std::string keyPath = RegistryKeyPathOf(item.subKey);
    // A log says what the items were, not which keys the install made: a key-only item's key
    // goes only when nothing is left in it (a record, which names the keys made, may say more).
    if (item.keyOnly) {
        AddEmptyKey(root, keyPath);
        return;
    }
    removals_.push_back(
        {RemovalKind::RegistryValue, RemovalPhase::Registry, keyPath, root, item.name});
    AddEmptyKey(root, keyPath);
}

void RegistryRemovals::AddEmptyKey(RegistryRoot root, const std::string& keyPath) {
    // A root stays whatever is in it.
    if (keyPath.empty()) return;
    emptyKeys_.push_back({RemovalKind::EmptyRegistryKey, RemovalPhase::Registry, keyPath, root});
}

std::vector<Removal> RegistryRemovals::InOrder() const {
    std::vector<Removal> order = removals_;
    std::vector<Removal> keys;
    std::set<std::pair<int, std::string>> seen;
    for (const Removal& key : emptyKeys_) {
        if (seen.insert({int(key.root), UpperName(key.path)}).second) keys.push_back(key);
    }
    std::stable_sort(keys.begin(), keys.end(), [](const Removal& a, const Removal& b) {
        return PathComponents(a.path).size() > PathComponents(b.path).size();
    });
    order.insert(order.end(), keys.begin(), keys.end());
    return order;
}

}  // namespace vesk
