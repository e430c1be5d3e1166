// The registry items a project describes in Registry subtasks (task 2406) and in the user
// information page's EditBox subtasks: keys and values created, written or deleted.
#pragma once

#include <optional>
#include <string>

#include "project/PathResolver.h"
#include "project/RegistryKey.h"
#include "project/SubTask.h"
#include "session/InstallRecords.h"
#include "session/RunLog.h"

namespace vesk {

// The operations a registry item names (RegOperType).
constexpr int kRegistryWriteOperation = 0;
constexpr int kRegistryDeleteOperation = 1;

// The value types a registry item names (RegDataType).
constexpr int kRegistryTextType = 0;        // REG_SZ
constexpr int kRegistryNumberType = 1;      // REG_DWORD
constexpr int kRegistryExpandTextType = 2;  // REG_EXPAND_SZ: %variables% expanded when read

// One subtask's registry fields, read in order, a later duplicate replacing an earlier one.
// Missing numbers count as 0.
struct RegistryItem {
    std::optional<RegistryRoot> root;  // the last RegRootKey that names a root; none: carried over
    std::string subKey;                // RegSubKey as written, its leading backslash included
    std::string name;                  // RegVarName
    std::string value;                 // RegVarValue
    int dataType = 0;                  // RegDataType: one of the types above
    int operation = 0;                 // RegOperType
    bool keyOnly = false;              // IsOnlyToKey
    bool toDelete = false;             // IsToDelete: the uninstaller removes what was written
};

RegistryItem ReadRegistryItem(const SubTask& subtask);

// What one subtask did, for the run's log.
struct RegistryItemDone {
    // "HKEY_LOCAL_MACHINE\SOFTWARE\Demo: Version = \"1.2\"", "... (key)", "delete ...".
    std::string description;
    // False when the system refused it (a delete of something not there is no refusal).
    bool done = false;
};

// The item as a Registry line of the log, or an Error line when it was refused.
void LogRegistryItem(RunLog& log, const RegistryItemDone& item);

// Performs one subtask on `key`. RegRootKey sets the key's root (an unknown name keeps it, and so
// the root carries over to the next subtask). RegOperType 0 opens RegSubKey (created when
// missing) and, unless IsOnlyToKey is set, writes RegVarName: RegDataType 0 a string, 1 a 32-bit
// number (the leading integer of the text), 2 an expandable string, any other type nothing; the
// data is `substitute` when it is not empty, else RegVarValue. With `paths`, the path tokens of
// RegVarValue in a string are replaced (ExpandValueTokens: "[InstallDir]\app.exe"); without,
// it is written as it stands (the user information page writes before the install folder is
// chosen). A substitute, the user's own text, is never expanded. RegOperType 1 deletes the key
// RegSubKey (IsOnlyToKey set) or its value RegVarName; any other operation does nothing.
// Failures are not shown to the user: the result tells them.
RegistryItemDone ApplyRegistrySubtask(RegistryKey& key, const SubTask& subtask,
                                      const std::string& substitute,
                                      const PathResolver* paths = nullptr);

// After `item` was applied on a key of `root` (its root once applied), the changes it made from
// the `first`-th on are what the uninstall does with them: left in place without IsToDelete;
// with IsToDelete, a key-only item's key goes with everything in it when the install made it.
void NoteUninstallChoice(InstallRecords& records, std::size_t first, RegistryRoot root,
                         const RegistryItem& item);

}  // namespace vesk
