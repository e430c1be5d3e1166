// Lines of the written project.
#include "builder/reading/ProjectLocator.h"

#include "project/TaskSlots.h"

namespace vesk {

ProjectLocator::ProjectLocator(std::string name, const InstallProject& project,
                               std::vector<TaskLocation> locations)
    : name_(std::move(name)), tasks_(kTaskSlotCount), locations_(kTaskSlotCount) {
    for (std::size_t i = 0; i < project.TaskCount() && i < locations.size(); ++i) {
        const int slot = TaskSlotFromIdOrLabel(project.TaskAt(i).Id());
        if (slot == kNoSlot || locations_[slot].line != 0) continue;
        tasks_[slot] = project.TaskAt(i);
        locations_[slot] = std::move(locations[i]);
    }
}

std::string ProjectLocator::Prefix(std::size_t line) const {
    if (name_.empty()) return "";
    return name_ + (line ? ":" + std::to_string(line) : std::string()) + ": ";
}

std::string ProjectLocator::Where(int slot) const {
    return Prefix(Line(slot));
}

std::string ProjectLocator::Where(int slot, SubTaskType type, FieldKind kind,
                                  const std::string& value) const {
    return Prefix(Line(slot, type, kind, value));
}

std::size_t ProjectLocator::Line(int slot) const {
    if (slot < 0 || slot >= int(locations_.size())) return 0;
    return locations_[slot].line;
}

std::size_t ProjectLocator::Line(int slot, SubTaskType type, FieldKind kind,
                                 const std::string& value) const {
    if (slot < 0 || slot >= int(locations_.size())) return 0;
    const Task& task = tasks_[slot];
    const TaskLocation& location = locations_[slot];
    for (std::size_t s = 0; s < task.SubTaskCount() && s < location.subtasks.size(); ++s) {
        const SubTask& subtask = task.SubTaskAt(s);
        if (subtask.Type() != type) continue;
        for (std::size_t f = 0; f < subtask.FieldCount(); ++f) {
            const Field& field = subtask.FieldAt(f);
            if (field.Kind() == kind && field.Value() == value &&
                f < location.subtasks[s].fieldLines.size()) {
                return location.subtasks[s].fieldLines[f];
            }
        }
    }
    return location.line;
}

}  // namespace vesk
