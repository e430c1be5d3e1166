// What Finish does on the finish page: restart the computer, or start the checked programs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Processes.h"
#include "platform/SystemPower.h"
#include "project/PathResolver.h"
#include "project/Task.h"

namespace vesk {

// A program of a RunApp subtask as project values, unresolved.
struct ProgramStart {
    std::string folder;
    std::string file;
    std::string parameter;

    bool operator==(const ProgramStart& other) const {
        return folder == other.folder && file == other.file && parameter == other.parameter;
    }
};

// The programs to start for a run-programs task. `checked[i]` tells whether the box of the i-th
// RunApp subtask is checked (missing entries count as unchecked). The fields of the checked
// subtasks are walked in order, remembering the File and Folder met last, across subtasks; each
// AppParameter field yields one program with the remembered values (so a subtask whose
// AppParameter comes before its own File and Folder uses the previous checked subtask's, or
// empty values for the first).
std::vector<ProgramStart> ProgramsToStart(const Task& task, const std::vector<bool>& checked);

// Starts one program, not waiting for it, in the folder Folder resolves to. The path is
// Folder + "\" + File with its leading path variable resolved. A file with the extension EXE
// (any letter case) is started directly with the path quoted on its command line, followed by
// " " and the AppParameter when there is one; anything else is opened by the shell with its
// default verb, the AppParameter as its parameters. False when it cannot be started.
bool StartProgram(const ProgramStart& program, const PathResolver& paths, Processes& processes);

// The restart box's action: the final clean-up first, then the shutdown privilege and a forced
// restart. Failures are not reported: the wizard closes as usual.
void RestartComputer(const std::function<void()>& finalCleanUp, SystemPower& power);

// The systems Finish acts on.
struct FinishServices {
    const PathResolver& paths;
    Processes& processes;
    SystemPower& power;
    std::function<void()> finalCleanUp;
};

// Finish for `task`: for the restart task (2009) RestartComputer when its one box is checked;
// for any other task StartProgram for each of ProgramsToStart. `checked` as for
// ProgramsToStart (for the restart task: the restart box).
void RunFinishAction(const Task& task, const std::vector<bool>& checked,
                     const FinishServices& services);

}  // namespace vesk
