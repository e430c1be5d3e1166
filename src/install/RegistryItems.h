// The registry items a project describes in Registry subtasks (task 2406) and in the user
// information page's EditBox subtasks: keys and values created, written or deleted.
#pragma once

#include <string>

#include "project/RegistryKey.h"
#include "project/SubTask.h"

namespace vesk {

// Performs one subtask on `key`. Its fields are read in order, a later duplicate replacing an
// earlier one; RegRootKey sets the key's root at once (an unknown name keeps it, and so the root
// carries over to the next subtask). RegOperType 0 opens RegSubKey (created when missing) and,
// unless IsOnlyToKey is set, writes RegVarName: RegDataType 0 a string, 1 a 32-bit number (the
// leading integer of the text), any other type nothing; the data is `substitute` when it is not
// empty, else RegVarValue. RegOperType 1 deletes the key RegSubKey (IsOnlyToKey set) or its value
// RegVarName; any other operation does nothing. Missing numbers count as 0; failures are silent.
void ApplyRegistrySubtask(RegistryKey& key, const SubTask& subtask, const std::string& substitute);

}  // namespace vesk
