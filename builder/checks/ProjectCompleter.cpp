// Completing a project's tasks.
#include "builder/checks/ProjectCompleter.h"

#include <algorithm>
#include <utility>

#include "builder/checks/TaskEditing.h"
#include "builder/reading/NearMiss.h"
#include "project/TaskSlots.h"
#include "project/WindowsNames.h"

namespace vesk {
namespace {

// The slot whose ID is exactly `id`; kNoSlot otherwise (labels are for display, not input).
int SlotOfId(const std::string& id) {
    for (int slot = 0; slot < kTaskSlotCount; ++slot) {
        if (TaskIdForSlot(slot) == id) return slot;
    }
    return kNoSlot;
}

// Task 2401 with the builder's GetAllVar fields that none of its GetAllVar subtasks holds
// appended to the first of them (made when there is none).
Task WithAllProperties(const Task& task, const DefaultContent& product) {
    std::vector<SubTask> subtasks = task.SubTasks();
    std::size_t target = subtasks.size();
    for (std::size_t i = 0; i < subtasks.size() && target == subtasks.size(); ++i) {
        if (subtasks[i].Type() == SubTaskType::GetAllVar) target = i;
    }
    if (target == subtasks.size()) subtasks.emplace_back("10001", SubTaskType::GetAllVar);
    for (const Field& property : DefaultTasks::ProjectPropertyFields(product)) {
        bool held = false;
        for (const SubTask& subtask : subtasks) {
            held =
                held || (subtask.Type() == SubTaskType::GetAllVar && subtask.Has(property.Kind()));
        }
        if (!held) subtasks[target].Add(property);
    }
    return WithSubTasks(task, std::move(subtasks));
}

// A document subtask whose File comes without a FileType before it gets one, by the file's
// extension: the page would otherwise navigate to the temporary folder itself.
Task WithDocumentTypes(const Task& task, SubTaskType type) {
    std::vector<SubTask> subtasks = task.SubTasks();
    bool typeSeen = false;
    for (SubTask& subtask : subtasks) {
        if (subtask.Type() != type) continue;
        std::vector<Field> fields;
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() == FieldKind::FileType) typeSeen = true;
            if (field.Kind() == FieldKind::File && !field.Value().empty() && !typeSeen) {
                fields.emplace_back(FieldKind::FileType,
                                    DefaultTasks::DocumentTypeFor(field.Value()));
                typeSeen = true;
            }
            fields.push_back(field);
        }
        subtask = WithFields(subtask, std::move(fields));
    }
    return WithSubTasks(task, std::move(subtasks));
}

// The folders of a path below its root: a leading path variable ("[Program Files]") and a drive
// ("C:") are no folder names.
std::string FoldersBelowRoot(const std::string& path) {
    std::string rest = path;
    if (!rest.empty() && rest[0] == '[') {
        const std::size_t close = rest.find(']');
        if (close != std::string::npos) rest = rest.substr(close + 1);
    }
    if (rest.size() >= 2 && rest[1] == ':') rest = rest.substr(2);
    return rest;
}

// Whether any GetAllVar subtask of `task` holds a field of `kind`.
bool HoldsProperty(const Task& task, FieldKind kind) {
    for (const SubTask& subtask : task.SubTasks()) {
        if (subtask.Type() == SubTaskType::GetAllVar && subtask.Has(kind)) return true;
    }
    return false;
}

// The page slots in the order the setup shows them (see ProjectCompleter::Order), given the
// written ones in the order they were written.
std::vector<int> PageOrder(const std::vector<int>& written) {
    std::vector<bool> isWritten(kTaskSlotCount, false);
    for (int slot : written) isWritten[slot] = true;
    std::vector<int> order;
    // The defaults placed so far are always those below nextDefault: each written page takes
    // the defaults below its own slot that an earlier page did not take.
    int nextDefault = kSlotWelcome;
    auto placeDefaultsBelow = [&](int limit) {
        for (; nextDefault < limit; ++nextDefault) {
            if (!isWritten[nextDefault]) order.push_back(nextDefault);
        }
    };
    for (int slot : written) {
        placeDefaultsBelow(slot);
        order.push_back(slot);
    }
    placeDefaultsBelow(kSlotFinish2 + 1);
    return order;
}

}  // namespace

bool ProjectCompleter::Fail(std::size_t line, std::string message) {
    std::string where = name_;
    if (line != 0) where += (where.empty() ? "line " : ":") + std::to_string(line);
    errors_.Add(line, where.empty() ? std::move(message) : where + ": " + message);
    return false;
}

bool ProjectCompleter::Complete(const InstallProject& input, const std::string& name,
                                const std::vector<std::size_t>& taskLines, bool tasksLost) {
    name_ = name;
    errors_.Clear();
    tasks_.assign(kTaskSlotCount, Task());
    order_.clear();
    std::vector<bool> present(kTaskSlotCount, false);
    std::vector<std::size_t> slotLines(kTaskSlotCount, 0);
    std::vector<int> writtenPages;
    for (std::size_t i = 0; i < input.TaskCount(); ++i) {
        const Task& task = input.TaskAt(i);
        const std::size_t line = i < taskLines.size() ? taskLines[i] : 0;
        int slot = SlotOfId(task.Id());
        if (slot == kNoSlot) {
            std::vector<std::string> ids;
            for (int other = 0; other < kTaskSlotCount; ++other)
                ids.push_back(TaskIdForSlot(other));
            Fail(line, "task \"" + task.Id() +
                           "\" is not one of the task slots (2401, 2002 ... 2010, 2402 ... "
                           "2412)" +
                           DidYouMean(task.Id(), ids));
            continue;
        }
        if (present[slot]) {
            Fail(line, "task " + task.Id() + " appears twice (also on line " +
                           std::to_string(slotLines[slot]) + ")");
            continue;
        }
        if (task.Type() != TaskTypeForSlot(slot)) {
            Fail(line, "task " + task.Id() + " has the type " + TaskTypeName(task.Type()) +
                           "; its slot's type is " + TaskTypeName(TaskTypeForSlot(slot)));
            continue;
        }
        present[slot] = true;
        slotLines[slot] = line;
        tasks_[slot] = task;
        if (task.IsExec() && !IsPageSlot(slot)) {
            // The engine would show it as a wizard page of its own, wherever it stands.
            Fail(line, "task " + task.Id() +
                           " has IsExec=\"1\", but only the wizard page tasks 2002 ... "
                           "2010 may have IsExec=\"1\"; write IsExec=\"0\"");
            tasks_[slot] = Task(task.Id(), task.Type(), false);
            for (const SubTask& subtask : task.SubTasks()) tasks_[slot].Add(subtask);
        }
        if (IsPageSlot(slot)) writtenPages.push_back(slot);
    }

    const Task& properties = tasks_[kSlotProjectProperties];
    product_ = DefaultContent();
    product_.projectName = properties.GetValue(SubTaskType::GetAllVar, FieldKind::ProjectName);
    product_.company = properties.GetValue(SubTaskType::GetAllVar, FieldKind::CompanyDesc);
    product_.version = properties.GetValue(SubTaskType::GetAllVar, FieldKind::ProductVersion);
    if ((present[kSlotProjectProperties] || !tasksLost) && product_.projectName.empty()) {
        Fail(slotLines[kSlotProjectProperties],
             "task 2401 must name the product: <ProjectName>...</ProjectName> in its "
             "GetAllVar subtask");
    }

    for (int slot = 0; slot < kTaskSlotCount; ++slot) {
        if (!present[slot]) tasks_[slot] = DefaultTasks::ForSlot(slot, product_);
    }
    const bool installPathWritten =
        HoldsProperty(tasks_[kSlotProjectProperties], FieldKind::InstallPath);
    tasks_[kSlotProjectProperties] = WithAllProperties(tasks_[kSlotProjectProperties], product_);
    tasks_[kSlotLicence] = WithDocumentTypes(tasks_[kSlotLicence], SubTaskType::ShowSoftDoc);
    tasks_[kSlotReadme] = WithDocumentTypes(tasks_[kSlotReadme], SubTaskType::ShowReadme);

    CheckFolderNames(installPathWritten, present[kSlotShortcuts], slotLines);

    order_.push_back(kSlotProjectProperties);
    for (int slot : PageOrder(writtenPages)) order_.push_back(slot);
    for (int slot = kSlotFolderBinding; slot < kTaskSlotCount; ++slot) order_.push_back(slot);
    CheckPageOrder(present, slotLines);
    return errors_.Empty();
}

bool ProjectCompleter::CheckPageOrder(const std::vector<bool>& present,
                                      const std::vector<std::size_t>& slotLines) {
    // The line of a slot's task as written; 0 (the file alone) for a default.
    auto lineOf = [&](int slot) { return present[slot] ? slotLines[slot] : 0; };
    std::vector<int> shown;
    for (int slot : order_) {
        if (IsPageSlot(slot) && tasks_[slot].IsExec()) shown.push_back(slot);
    }
    if (shown.empty()) {
        return Fail(lineOf(kSlotProgress),
                    "no wizard page is shown (every page task has IsExec=\"0\"): the setup "
                    "would show an empty window in which only Cancel works; write "
                    "IsExec=\"1\" on task 2008, the progress page, at least");
    }
    if (std::find(shown.begin(), shown.end(), kSlotProgress) == shown.end()) {
        return Fail(lineOf(kSlotProgress),
                    "task 2008, the progress page, has IsExec=\"0\": the install would never "
                    "start; write IsExec=\"1\"");
    }
    for (int slot : shown) {
        if (slot == kSlotProgress) break;
        if (slot == kSlotFinish1 || slot == kSlotFinish2) {
            const std::string id = TaskIdForSlot(slot);
            return Fail(present[slot] ? slotLines[slot] : lineOf(kSlotProgress),
                        "task " + id +
                            ", a finish page, comes before task 2008, the progress "
                            "page: a finish page is shown only after the install, so here it would "
                            "be a blank page; write task " +
                            id +
                            " after task 2008, or write "
                            "IsExec=\"0\"");
        }
    }
    return true;
}

bool ProjectCompleter::CheckFolderNames(bool installPathWritten, bool shortcutsWritten,
                                        const std::vector<std::size_t>& slotLines) {
    std::string why;
    const std::string installPath =
        tasks_[kSlotProjectProperties].GetValue(SubTaskType::GetAllVar, FieldKind::InstallPath);
    bool good = true;
    if (!CheckWindowsFolderNames(FoldersBelowRoot(installPath), why)) {
        good = Fail(slotLines[kSlotProjectProperties],
                    "the InstallPath of task 2401, \"" + installPath + "\"" +
                        (installPathWritten ? "" : " (made from ProjectName and CompanyDesc)") +
                        ", is no folder Windows can hold: " + why);
    }
    const std::string programFolder =
        tasks_[kSlotShortcuts].GetValue(SubTaskType::GetValue, FieldKind::Description);
    if (!CheckWindowsFolderNames(programFolder, why)) {
        good =
            Fail(slotLines[shortcutsWritten ? kSlotShortcuts : kSlotProjectProperties],
                 "the program folder name, the Description of task 2404's GetValue, \"" +
                     programFolder + "\"" + (shortcutsWritten ? "" : " (made from ProjectName)") +
                     ", is no folder Windows can hold: " + why);
    }
    return good;
}

InstallProject ProjectOf(const std::vector<Task>& tasksBySlot, const std::vector<int>& order) {
    InstallProject project;
    for (int slot : order) project.Add(tasksBySlot[std::size_t(slot)]);
    return project;
}

}  // namespace vesk
