// The project checks.
#include "builder/checks/ProjectCheck.h"

#include <filesystem>
#include <map>

#include "builder/checks/FieldUsage.h"
#include "builder/checks/ScopeCheck.h"
#include "builder/checks/ValueCheck.h"
#include "builder/plan/FileKindRules.h"
#include "builder/plan/TargetPaths.h"
#include "builder/reading/NearMiss.h"
#include "container/FileEntry.h"
#include "project/InstallScope.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

// The finish page makes a check box per RunApp subtask with the subtask's ID as control ID.
constexpr long kLargestControlId = 65535;

int SlotOfId(const std::string& id) {
    for (int slot = 0; slot < kTaskSlotCount; ++slot) {
        if (TaskIdForSlot(slot) == id) return slot;
    }
    return kNoSlot;
}

std::size_t LineOf(const SubTaskLocation& location, std::size_t field) {
    return field < location.fieldLines.size() ? location.fieldLines[field] : location.line;
}

// The known subtask type of the slot that would read most of the subtask's fields; InvalidType
// when none reads any.
SubTaskType BestFittingType(int slot, const SubTask& subtask) {
    SubTaskType best = SubTaskType::InvalidType;
    int bestCount = 0;
    for (int type = 0; type < kSubTaskTypeCount - 1; ++type) {
        int count = 0;
        for (const Field& field : subtask.Fields()) {
            if (FindFieldUse(slot, SubTaskType(type), field.Kind())) ++count;
        }
        if (count > bestCount) {
            best = SubTaskType(type);
            bestCount = count;
        }
    }
    return best;
}

bool IsControlId(const std::string& id) {
    if (id.empty() || id.size() > 5 || id[0] == '0') return false;
    long value = 0;
    for (char c : id) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= kLargestControlId;
}

// Whether the program folder page shows: it does unless the project writes task 2006 without
// IsExec.
bool ProgramFolderPageShown(const InstallProject& project) {
    const Task* page = project.FindTask(TaskIdForSlot(kSlotProgramFolder));
    return !page || page->IsExec();
}

}  // namespace

void ProjectCheck::Report(bool error, std::size_t line, const std::string& message) {
    ReportAs(error, line, "task " + taskId_ + ": " + message);
}

void ProjectCheck::ReportField(bool error, std::size_t line, FieldKind kind,
                               const std::string& message) {
    ReportAs(error, line, std::string(FieldName(kind)) + " of task " + taskId_ + message);
}

void ProjectCheck::ReportAs(bool error, std::size_t line, const std::string& message) {
    std::string where = name_ + (line ? ":" + std::to_string(line) : std::string()) + ": ";
    if (error) {
        errors_.push_back({line, where + message});
    } else {
        warnings_.push_back(where + message);
    }
}

void ProjectCheck::Check(const InstallProject& project, const std::vector<TaskLocation>& locations,
                         const std::string& name, const std::string& baseDir) {
    name_ = name;
    baseDir_ = baseDir;
    errors_.clear();
    warnings_.clear();
    userScope_ = ReadInstallScope(project) == InstallScope::User;
    for (std::size_t t = 0; t < project.TaskCount() && t < locations.size(); ++t) {
        const Task& task = project.TaskAt(t);
        const TaskLocation& location = locations[t];
        const int slot = SlotOfId(task.Id());
        if (slot == kNoSlot) continue;
        taskId_ = task.Id();
        for (std::size_t s = 0; s < task.SubTaskCount() && s < location.subtasks.size(); ++s) {
            CheckSubTask(slot, task.SubTaskAt(s), location.subtasks[s]);
        }
        CheckSubTaskIds(slot, task, location);
        if (slot == kSlotFolderBinding) CheckBindings(task, location);
        if (slot == kSlotShortcuts) CheckShortcuts(task, location, ProgramFolderPageShown(project));
        if (slot == kSlotExtractFiles) CheckMarks(task, location);
    }
}

void ProjectCheck::CheckSubTask(int slot, const SubTask& subtask, const SubTaskLocation& location) {
    if (!IsSubTaskTypeKnown(slot, subtask.Type())) {
        const SubTaskType fitting = BestFittingType(slot, subtask);
        Report(
            false, location.line,
            std::string("the setup never reads a ") + SubTaskTypeName(subtask.Type()) +
                " subtask in this task and passes it over" +
                (fitting == SubTaskType::InvalidType ? std::string()
                                                     : std::string(" (its fields belong in a ") +
                                                           SubTaskTypeName(fitting) + " subtask)"));
        return;
    }
    for (std::size_t f = 0; f < subtask.FieldCount(); ++f) {
        const Field& field = subtask.FieldAt(f);
        const FieldUse* use = FindFieldUse(slot, subtask.Type(), field.Kind());
        if (!use) {
            CheckUnreadField(slot, subtask, field.Kind(), LineOf(location, f));
            continue;
        }
        for (const Finding& finding : CheckFieldValue(*use, field.Value(), baseDir_)) {
            ReportField(finding.error, LineOf(location, f), field.Kind(), finding.message);
        }
        if (userScope_) {
            const std::string problem =
                UserScopeProblem(slot, subtask.Type(), field.Kind(), field.Value());
            if (!problem.empty()) ReportField(true, LineOf(location, f), field.Kind(), problem);
        }
    }
    if (slot == kSlotFinish2 && subtask.Type() == SubTaskType::RunApp) {
        CheckRunApp(subtask, location);
    }
    if (subtask.Type() == SubTaskType::Registry || subtask.Type() == SubTaskType::EditBox) {
        CheckRegistryNumber(subtask, location);
    }
    if (subtask.Type() == SubTaskType::Registry && !subtask.Has(FieldKind::RegRootKey)) {
        Report(false, location.line,
               "the Registry subtask has no RegRootKey: it uses the root key of the registry "
               "item before it");
    }
}

void ProjectCheck::CheckUnreadField(int slot, const SubTask& subtask, FieldKind kind,
                                    std::size_t line) {
    std::string where;
    for (int type = 0; type < kSubTaskTypeCount - 1 && where.empty(); ++type) {
        if (FindFieldUse(slot, SubTaskType(type), kind)) {
            where = std::string(" (it is read in a ") + SubTaskTypeName(SubTaskType(type)) +
                    " subtask of this task)";
        }
    }
    for (int other = 0; other < kTaskSlotCount && where.empty(); ++other) {
        for (int type = 0; type < kSubTaskTypeCount - 1 && where.empty(); ++type) {
            const FieldUse* use = FindFieldUse(other, SubTaskType(type), kind);
            if (use && use->role != FieldRole::Carried) {
                where = " (task " + TaskIdForSlot(other) + " reads it, in a " +
                        SubTaskTypeName(SubTaskType(type)) + " subtask)";
            }
        }
    }
    std::vector<std::string> names;
    for (int k = 0; k < kFieldKindCount - 1; ++k) {
        if (FindFieldUse(slot, subtask.Type(), FieldKind(k)))
            names.push_back(FieldName(FieldKind(k)));
    }
    Report(false, line,
           std::string("the setup never reads <") + FieldName(kind) + "> in a " +
               SubTaskTypeName(subtask.Type()) + " subtask of this task" + where +
               DidYouMean(FieldName(kind), names));
}

void ProjectCheck::CheckSubTaskIds(int slot, const Task& task, const TaskLocation& location) {
    std::map<std::string, std::size_t> seen;
    for (std::size_t s = 0; s < task.SubTaskCount() && s < location.subtasks.size(); ++s) {
        const SubTask& subtask = task.SubTaskAt(s);
        auto [first, added] = seen.emplace(subtask.Id(), location.subtasks[s].line);
        if (added) continue;
        const bool checkBox = slot == kSlotFinish2 && subtask.Type() == SubTaskType::RunApp;
        Report(checkBox, location.subtasks[s].line,
               "the subtask ID \"" + subtask.Id() + "\" is given twice (also on line " +
                   std::to_string(first->second) + ")" +
                   (checkBox ? ": the finish page's check boxes would share one control ID" : ""));
    }
}

void ProjectCheck::CheckBindings(const Task& task, const TaskLocation& location) {
    // Pairs run on across GetAllVar subtasks, as the build reads them.
    bool pending = false;
    std::size_t pendingLine = 0;
    std::string pendingTarget;
    for (std::size_t s = 0; s < task.SubTaskCount() && s < location.subtasks.size(); ++s) {
        const SubTask& subtask = task.SubTaskAt(s);
        if (subtask.Type() != SubTaskType::GetAllVar) continue;
        for (std::size_t f = 0; f < subtask.FieldCount(); ++f) {
            const Field& field = subtask.FieldAt(f);
            const std::size_t line = LineOf(location.subtasks[s], f);
            if (field.Kind() == FieldKind::PathDesc) {
                if (pending) {
                    Report(true, pendingLine,
                           "PathDesc \"" + pendingTarget +
                               "\" has no PathValue (a source folder) after it");
                }
                if (field.Value().empty()) Report(true, line, "PathDesc is empty");
                pending = true;
                pendingLine = line;
                pendingTarget = field.Value();
            } else if (field.Kind() == FieldKind::PathValue) {
                if (!pending) {
                    Report(true, line,
                           "PathValue \"" + field.Value() +
                               "\" has no PathDesc (a target folder) before it");
                }
                CheckSourceFolder(field.Value(), pendingTarget, line);
                pending = false;
            }
        }
    }
    if (pending) {
        Report(true, pendingLine,
               "PathDesc \"" + pendingTarget + "\" has no PathValue (a source folder) after it");
    }
}

void ProjectCheck::CheckSourceFolder(const std::string& source, const std::string& target,
                                     std::size_t line) {
    if (!source.empty() && source[0] == '[') return;  // reported as a path on the user's machine
    const std::string hostPath = HostPathFor(baseDir_, source);
    std::error_code ec;
    if (fs::is_directory(hostPath, ec)) return;
    Report(true, line,
           "the source folder \"" + source + "\" of " + target + " " +
               (fs::exists(hostPath, ec) ? "is not a folder" : "does not exist") + " (" + hostPath +
               ")");
}

void ProjectCheck::CheckRunApp(const SubTask& subtask, const SubTaskLocation& location) {
    if (!IsControlId(subtask.Id())) {
        Report(true, location.line,
               "the RunApp subtask's ID \"" + subtask.Id() +
                   "\" is the control ID of its check box on the finish page: a number from 1 "
                   "to " +
                   std::to_string(kLargestControlId));
    }
    std::size_t descriptions = 0, lastTarget = 0, parameter = 0;
    bool hasParameter = false;
    for (std::size_t f = 0; f < subtask.FieldCount(); ++f) {
        const FieldKind kind = subtask.FieldAt(f).Kind();
        if (kind == FieldKind::Description) ++descriptions;
        if (kind == FieldKind::File || kind == FieldKind::Folder) lastTarget = f;
        if (kind == FieldKind::AppParameter && !hasParameter) {
            hasParameter = true;
            parameter = f;
        }
    }
    if (descriptions != 1) {
        Report(false, location.line,
               "the RunApp subtask has " + std::to_string(descriptions) +
                   " Description fields: the finish page pairs one caption with each check box");
    }
    if (!hasParameter) {
        Report(false, location.line,
               "the RunApp subtask has no AppParameter: the finish page starts the program at "
               "that field, so nothing starts (write <AppParameter></AppParameter> last)");
    } else if (parameter < lastTarget) {
        Report(false, LineOf(location, parameter),
               "AppParameter comes before File or Folder: the finish page starts the program "
               "at this field, with the File and Folder met so far");
    }
}

// A registry item that writes a number: the setup takes its data as a decimal number and writes
// whatever that reading gives, 0 for "five". Of a field given twice the setup uses the last.
void ProjectCheck::CheckRegistryNumber(const SubTask& subtask, const SubTaskLocation& location) {
    std::string dataType, operation, keyOnly, data;
    std::size_t dataLine = location.line;
    bool dataGiven = false;
    for (std::size_t f = 0; f < subtask.FieldCount(); ++f) {
        const Field& field = subtask.FieldAt(f);
        switch (field.Kind()) {
            case FieldKind::RegDataType:
                dataType = field.Value();
                break;
            case FieldKind::RegOperType:
                operation = field.Value();
                break;
            case FieldKind::IsOnlyToKey:
                keyOnly = field.Value();
                break;
            case FieldKind::RegVarValue:
                data = field.Value();
                dataLine = LineOf(location, f);
                dataGiven = true;
                break;
            default:
                break;
        }
    }
    const bool writesNumber =
        LeadingInt(dataType) == 1 && LeadingInt(operation) == 0 && LeadingInt(keyOnly) == 0;
    // On the user information page the data is what the user types; RegVarValue only stands in
    // for an entry left empty.
    if (!writesNumber || (subtask.Type() == SubTaskType::EditBox && data.empty())) return;
    const std::string problem = RegistryNumberProblem(data);
    if (problem.empty()) return;
    if (!dataGiven) {
        Report(true, location.line,
               "the Registry subtask writes a number (RegDataType 1) but has no RegVarValue: the "
               "setup writes 0; write <RegVarValue>0</RegVarValue> if that is meant");
        return;
    }
    ReportField(true, dataLine, FieldKind::RegVarValue, problem);
}

void ProjectCheck::CheckShortcuts(const Task& task, const TaskLocation& location,
                                  bool programFolderPage) {
    bool shortcuts = false;
    for (const SubTask& subtask : task.SubTasks()) {
        shortcuts = shortcuts || subtask.Type() == SubTaskType::CreateShortcutMenu;
    }
    if (shortcuts && !programFolderPage &&
        task.GetValue(SubTaskType::GetValue, FieldKind::Description).empty()) {
        Report(false, location.line,
               "no program folder (the Description of a GetValue subtask) and no program folder "
               "page to choose one: the setup creates no shortcuts at all");
    }
}

void ProjectCheck::CheckMarks(const Task& task, const TaskLocation& location) {
    std::map<std::string, std::size_t> marked;
    for (std::size_t s = 0; s < task.SubTaskCount() && s < location.subtasks.size(); ++s) {
        const SubTask& subtask = task.SubTaskAt(s);
        if (subtask.Type() != SubTaskType::FileList) continue;
        for (std::size_t f = 0; f < subtask.FieldCount(); ++f) {
            KindMark mark;
            std::string why;
            if (subtask.FieldAt(f).Kind() != FieldKind::File ||
                !ReadKindMark(subtask.FieldAt(f).Value(), mark, why)) {
                continue;
            }
            const std::size_t line = LineOf(location.subtasks[s], f);
            auto [first, added] = marked.emplace(TargetKey(mark.target), line);
            if (!added) {
                Report(true, line,
                       mark.target + " is marked twice (also on line " +
                           std::to_string(first->second) + ")");
            }
        }
    }
}

}  // namespace vesk
