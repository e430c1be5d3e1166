// The user information page's data: the name and company registered for Windows, which the page
// starts with, and the registry items its texts are written to when the page is left.
#pragma once

#include <string>
#include <vector>

#include "install/RegistryItems.h"
#include "platform/Registry.h"
#include "platform/SystemFacts.h"
#include "project/Task.h"

namespace vesk {

struct RegisteredUser {
    std::string owner;
    std::string organization;
};

// The key (below HKEY_LOCAL_MACHINE, with its leading backslash) that holds RegisteredOwner and
// RegisteredOrganization: "\SOFTWARE\Microsoft\Windows\CurrentVersion" on Windows 98 and Me,
// "...\Windows NT\CurrentVersion" on every other system (Windows 95 included).
std::string RegisteredUserKey(int osVersionCode);

// The two values of that key; a value that cannot be read gives an empty text.
RegisteredUser ReadRegisteredUser(Registry& registry, const SystemFacts& system);

// Writes the page's texts: for each EditBox subtask of `task` in order, for each of its
// Description fields that is the reference |RegisterInfoUserDesc| or |RegisterInfoCompanyDesc|
// (any letter case), ApplyRegistrySubtask with `userName` or `company` as the value to write.
// Other subtasks and Descriptions write nothing; the registry key starts at HKEY_LOCAL_MACHINE.
// What each write did, in order, for the run's log. With `records`, whose journal `registry`
// writes to, each item's changes are marked for the uninstall as its IsToDelete asks.
std::vector<RegistryItemDone> SaveUserInformation(Registry& registry, const Task* task,
                                                  const std::string& userName,
                                                  const std::string& company,
                                                  InstallRecords* records = nullptr);

}  // namespace vesk
