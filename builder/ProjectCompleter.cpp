// Completing a project's tasks.
#include "ProjectCompleter.h"

#include <utility>

#include "TaskEditing.h"
#include "project/TaskSlots.h"

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

}  // namespace

bool ProjectCompleter::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool ProjectCompleter::Complete(const InstallProject& input) {
    tasks_.assign(kTaskSlotCount, Task());
    std::vector<bool> present(kTaskSlotCount, false);
    for (const Task& task : input.Tasks()) {
        int slot = SlotOfId(task.Id());
        if (slot == kNoSlot) {
            return Fail("task \"" + task.Id() +
                        "\" is not one of the task slots (2401, 2002 ... 2010, 2402 ... 2412)");
        }
        if (present[slot]) return Fail("task " + task.Id() + " appears twice");
        if (task.Type() != TaskTypeForSlot(slot)) {
            return Fail("task " + task.Id() + " has the type " + TaskTypeName(task.Type()) +
                        "; its slot's type is " + TaskTypeName(TaskTypeForSlot(slot)));
        }
        present[slot] = true;
        tasks_[slot] = task;
    }

    const Task& properties = tasks_[kSlotProjectProperties];
    product_ = DefaultContent();
    product_.projectName = properties.GetValue(SubTaskType::GetAllVar, FieldKind::ProjectName);
    product_.company = properties.GetValue(SubTaskType::GetAllVar, FieldKind::CompanyDesc);
    product_.version = properties.GetValue(SubTaskType::GetAllVar, FieldKind::ProductVersion);
    if (!present[kSlotProjectProperties] || product_.projectName.empty()) {
        return Fail(
            "task 2401 must name the product: <ProjectName>...</ProjectName> in its "
            "GetAllVar subtask");
    }

    for (int slot = 0; slot < kTaskSlotCount; ++slot) {
        if (!present[slot]) tasks_[slot] = DefaultTasks::ForSlot(slot, product_);
    }
    tasks_[kSlotProjectProperties] = WithAllProperties(tasks_[kSlotProjectProperties], product_);
    tasks_[kSlotLicence] = WithDocumentTypes(tasks_[kSlotLicence], SubTaskType::ShowSoftDoc);
    tasks_[kSlotReadme] = WithDocumentTypes(tasks_[kSlotReadme], SubTaskType::ShowReadme);
    return true;
}

InstallProject ProjectOf(const std::vector<Task>& tasks) {
    InstallProject project;
    for (const Task& task : tasks) project.Add(task);
    return project;
}

}  // namespace vesk
