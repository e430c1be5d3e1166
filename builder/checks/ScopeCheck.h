// What a setup for the current user (InstallScope user) cannot do without administrator rights:
// write below another root than HKEY_CURRENT_USER, put files into the Windows or the system
// folder, register components or fonts for every user. The builder refuses it, with its line.
#pragma once

#include <string>
#include <vector>

#include "project/FieldKind.h"
#include "project/SubTaskType.h"

namespace vesk {

// Why a user's setup cannot do what a field of a subtask of a slot's task asks, or "" when it
// can. The reason follows the field's name and task ("RegRootKey of task 2406" + ": ...").
std::string UserScopeProblem(int slot, SubTaskType type, FieldKind kind, const std::string& value);

// The lines of a registry data file (its bytes) that name a key a user's setup cannot write,
// each "line N ..." in file order.
std::vector<std::string> UserScopeDataProblems(const std::string& bytes);

}  // namespace vesk
