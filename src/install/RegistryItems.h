// The registry items a project describes in Registry subtasks (task 2406) and in the user
// information page's EditBox subtasks: keys and values created, written or deleted.
#pragma once

#include <string>

#include "project/RegistryKey.h"
#include "project/SubTask.h"
#include "session/RunLog.h"

namespace vesk {

// What one subtask did, for the run's log.
struct RegistryItemDone {
    // "HKEY_LOCAL_MACHINE\SOFTWARE\Demo: Version = \"1.2\"", "... (key)", "delete ...".
    std::string description;
    // False when the system refused it (a delete of something not there is no refusal).
    bool done = false;
};

// The item as a Registry line of the log, or an Error line when it was refused.
void LogRegistryItem(RunLog& log, const RegistryItemDone& item);

// Performs one subtask on `key`. Its fields are read in order, a later duplicate replacing an
// earlier one; RegRootKey sets the key's root at once (an unknown name keeps it, and so the root
// carries over to the next subtask). RegOperType 0 opens RegSubKey (created when missing) and,
// unless IsOnlyToKey is set, writes RegVarName: RegDataType 0 a string, 1 a 32-bit number (the
// leading integer of the text), any other type nothing; the data is `substitute` when it is not
// empty, else RegVarValue. RegOperType 1 deletes the key RegSubKey (IsOnlyToKey set) or its value
// RegVarName; any other operation does nothing. Missing numbers count as 0. Failures are not
// shown to the user: the result tells them.
RegistryItemDone ApplyRegistrySubtask(RegistryKey& key, const SubTask& subtask,
                                      const std::string& substitute);

}  // namespace vesk
