// Cross-checking the files a project refers to.
#include "builder/checks/ReferenceCheck.h"

#include "builder/checks/TaskEditing.h"
#include "builder/plan/TargetPaths.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

bool UnderInstallDir(const std::string& folder) {
    return TargetKey(folder.substr(0, 12)) == "[INSTALLDIR]";
}

// Folder + File pairs of the subtasks of `type`, each taken when its subtask ends.
void CheckLaunchTargets(int slot, const Task& task, SubTaskType type, const std::string& what,
                        const std::set<std::string>& targetKeys, const ProjectLocator& locator,
                        std::vector<Problem>& problems) {
    for (const SubTask& subtask : task.SubTasks()) {
        if (subtask.Type() != type) continue;
        std::string folder = subtask.Value(FieldKind::Folder);
        std::string file = subtask.Value(FieldKind::File);
        if (!UnderInstallDir(folder) || file.empty()) continue;
        std::string target = JoinTarget(folder, file);
        if (!targetKeys.count(TargetKey(target))) {
            problems.push_back({locator.Line(slot, type, FieldKind::File, file),
                                locator.Where(slot, type, FieldKind::File, file) + "task " +
                                    task.Id() + ": the " + what + " \"" +
                                    subtask.Value(FieldKind::Description) + "\" points at " +
                                    target + ", which the setup does not install"});
        }
    }
}

}  // namespace

std::vector<Problem> MissingTargets(const std::vector<Task>& tasks,
                                    const std::set<std::string>& targetKeys,
                                    const ProjectLocator& locator) {
    std::vector<Problem> problems;
    struct Listed {
        int slot;
        const char* what;
    };
    for (const Listed& listed :
         {Listed{kSlotFonts, "font"}, Listed{kSlotComponentRegistration, "component"}}) {
        for (const std::string& file :
             ValuesOf(tasks[listed.slot], SubTaskType::GetValue, FieldKind::File)) {
            if (!file.empty() && !targetKeys.count(TargetKey(file))) {
                problems.push_back(
                    {locator.Line(listed.slot, SubTaskType::GetValue, FieldKind::File, file),
                     locator.Where(listed.slot, SubTaskType::GetValue, FieldKind::File, file) +
                         "task " + tasks[listed.slot].Id() + ": the " + listed.what + " " + file +
                         " is not among the setup's files"});
            }
        }
    }
    CheckLaunchTargets(kSlotShortcuts, tasks[kSlotShortcuts], SubTaskType::CreateShortcutMenu,
                       "shortcut", targetKeys, locator, problems);
    CheckLaunchTargets(kSlotFinish2, tasks[kSlotFinish2], SubTaskType::RunApp, "program",
                       targetKeys, locator, problems);
    return problems;
}

}  // namespace vesk
