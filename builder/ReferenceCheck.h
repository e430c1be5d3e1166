// Finds project entries that name installed files the setup does not carry.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "ProjectLocator.h"
#include "project/Task.h"

namespace vesk {

// One warning per font (task 2407) and component (task 2405) whose file is not among
// `targetKeys` (TargetKey of every file-list target), and per shortcut (task 2404) or finish-page
// program (task 2010) under "[InstallDir]" whose Folder and File name no such file. The install
// does not fail on these, it just does nothing for them. `tasks` are indexed by slot; each
// warning starts with the file and line `locator` gives for the field at fault.
std::vector<std::string> ReferenceWarnings(const std::vector<Task>& tasks,
                                           const std::set<std::string>& targetKeys,
                                           const ProjectLocator& locator);

}  // namespace vesk
