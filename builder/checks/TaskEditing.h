// Small edits of project tasks, which the model keeps as value objects: each gives a new task.
#pragma once

#include <string>
#include <vector>

#include "project/Task.h"

namespace vesk {

// The task with the same ID, type and flag and the given subtasks.
Task WithSubTasks(const Task& task, std::vector<SubTask> subtasks);
// The subtask with the same ID and type and the given fields.
SubTask WithFields(const SubTask& subtask, std::vector<Field> fields);

// Gives every field of `kind` in the subtasks of `type` the value; when none holds one, appends
// the field to the first subtask of `type`, or to a new subtask of that type (ID "999999").
Task WithFieldValue(const Task& task, SubTaskType type, FieldKind kind, const std::string& value);

// Every value of `kind` in the subtasks of `type`, in file order.
std::vector<std::string> ValuesOf(const Task& task, SubTaskType type, FieldKind kind);

}  // namespace vesk
