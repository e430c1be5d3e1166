// Restart and program starts of the finish page.
#include "wizard/FinishActions.h"

#include "project/NameCase.h"
#include "project/PathParts.h"
#include "wizard/PageKind.h"

namespace vesk {

std::vector<ProgramStart> ProgramsToStart(const Task& task, const std::vector<bool>& checked) {
    std::vector<ProgramStart> programs;
    std::string folder, file;
    std::size_t index = 0;
    for (const SubTask& subtask : task.SubTasks()) {
        if (subtask.Type() != SubTaskType::RunApp) continue;
        const bool isChecked = index < checked.size() && checked[index];
        ++index;
        if (!isChecked) continue;
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() == FieldKind::File) {
                file = field.Value();
            } else if (field.Kind() == FieldKind::Folder) {
                folder = field.Value();
            } else if (field.Kind() == FieldKind::AppParameter) {
                programs.push_back(ProgramStart{folder, file, field.Value()});
            }
        }
    }
    return programs;
}

bool StartProgram(const ProgramStart& program, const PathResolver& paths, Processes& processes) {
    const std::string folder = paths.Resolve(program.folder);
    const std::string path = paths.Resolve(program.folder + "\\" + program.file);
    if (UpperName(ExtensionOf(program.file)) == "EXE") {
        std::string commandLine = "\"" + path + "\"";
        if (!program.parameter.empty()) commandLine += " " + program.parameter;
        return processes.Start(path, commandLine, folder, kShowNormal);
    }
    return processes.Open(path, program.parameter, folder, kShowNormal);
}

void RestartComputer(const std::function<void()>& finalCleanUp, SystemPower& power) {
    if (finalCleanUp) finalCleanUp();
    power.EnableShutdownPrivilege();
    power.ForceRestart();
}

void RunFinishAction(const Task& task, const std::vector<bool>& checked,
                     const FinishServices& services) {
    if (PageKindOf(&task) == kRestartFinishPage) {
        if (!checked.empty() && checked[0]) {
            RestartComputer(services.finalCleanUp, services.power);
        }
        return;
    }
    for (const ProgramStart& program : ProgramsToStart(task, checked)) {
        StartProgram(program, services.paths, services.processes);
    }
}

}  // namespace vesk
