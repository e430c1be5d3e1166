// Rebuilding tasks and subtasks with changed parts.
#include "builder/checks/TaskEditing.h"

#include <utility>

namespace vesk {

Task WithSubTasks(const Task& task, std::vector<SubTask> subtasks) {
    Task result(task.Id(), task.Type(), task.IsExec());
    for (SubTask& subtask : subtasks) result.Add(std::move(subtask));
    return result;
}

SubTask WithFields(const SubTask& subtask, std::vector<Field> fields) {
    SubTask result(subtask.Id(), subtask.Type());
    for (Field& field : fields) result.Add(std::move(field));
    return result;
}

Task WithFieldValue(const Task& task, SubTaskType type, FieldKind kind, const std::string& value) {
    std::vector<SubTask> subtasks = task.SubTasks();
    bool found = false;
    for (SubTask& subtask : subtasks) {
        if (subtask.Type() != type || !subtask.Has(kind)) continue;
        std::vector<Field> fields = subtask.Fields();
        for (Field& field : fields) {
            if (field.Kind() == kind) field.SetValue(value);
        }
        subtask = WithFields(subtask, std::move(fields));
        found = true;
    }
    if (!found) {
        bool appended = false;
        for (SubTask& subtask : subtasks) {
            if (subtask.Type() == type) {
                subtask.Add(kind, value);
                appended = true;
                break;
            }
        }
        if (!appended) subtasks.push_back(SubTask("999999", type).Add(kind, value));
    }
    return WithSubTasks(task, std::move(subtasks));
}

std::vector<std::string> ValuesOf(const Task& task, SubTaskType type, FieldKind kind) {
    std::vector<std::string> values;
    for (const SubTask& subtask : task.SubTasks()) {
        if (subtask.Type() != type) continue;
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() == kind) values.push_back(field.Value());
        }
    }
    return values;
}

}  // namespace vesk
