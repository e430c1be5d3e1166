// Finds the line of a task or field of the project file, for messages of the later build steps,
// which work on the completed tasks (where defaults have no line).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "builder/reading/ProjectReader.h"

namespace vesk {

class ProjectLocator {
public:
    ProjectLocator() = default;
    // The project as the reader read it and its locations; `name` stands for the file.
    ProjectLocator(std::string name, const InstallProject& project,
                   std::vector<TaskLocation> locations);

    // "project.xml:12: " for the slot's task as written; "project.xml: " for a default task; ""
    // from a locator made without a project.
    std::string Where(int slot) const;
    // The same for the first field of `kind` with `value` in a subtask of `type` of the slot's
    // task; the task's line when the project does not write that field.
    std::string Where(int slot, SubTaskType type, FieldKind kind, const std::string& value) const;
    // The lines Where names; 0 for a default task.
    std::size_t Line(int slot) const;
    std::size_t Line(int slot, SubTaskType type, FieldKind kind, const std::string& value) const;

private:
    std::string Prefix(std::size_t line) const;

    std::string name_;
    std::vector<Task> tasks_;              // by slot, as written (empty: a default)
    std::vector<TaskLocation> locations_;  // by slot
};

}  // namespace vesk
