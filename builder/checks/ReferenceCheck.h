// Finds project entries that name installed files the setup does not carry.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "builder/reading/ProblemList.h"
#include "builder/reading/ProjectLocator.h"
#include "project/Task.h"

namespace vesk {

// One problem per font (task 2407) and component (task 2405) whose file is not among
// `targetKeys` (TargetKey of every file-list target), and per shortcut (task 2404) or finish-page
// program (task 2010) under "[InstallDir]" whose Folder and File name no such file: unless
// something else puts the file there, the install makes a shortcut that leads nowhere, adds no
// font, fails to register the component or to start the program. `tasks` are indexed by slot;
// each message starts with the file and line `locator` gives for the field at fault.
std::vector<Problem> MissingTargets(const std::vector<Task>& tasks,
                                    const std::set<std::string>& targetKeys,
                                    const ProjectLocator& locator);

}  // namespace vesk
