// Reading the registered user and writing the user information page's registry items.
#include "wizard/UserInformation.h"

#include "install/RegistryItems.h"
#include "project/OsVersion.h"
#include "project/RegistryKey.h"
#include "project/TextKey.h"

namespace vesk {

std::string RegisteredUserKey(int osVersionCode) {
    return IsWin98OrMe(osVersionCode) ? "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion"
                                      : "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
}

RegisteredUser ReadRegisteredUser(Registry& registry, const SystemFacts& system) {
    RegistryKey key(registry, RegistryRoot::LocalMachine);
    key.OpenForReading(RegisteredUserKey(OsVersionCode(system)));
    return RegisteredUser{key.ReadString("RegisteredOwner"),
                          key.ReadString("RegisteredOrganization")};
}

std::vector<RegistryItemDone> SaveUserInformation(Registry& registry, const Task* task,
                                                  const std::string& userName,
                                                  const std::string& company) {
    std::vector<RegistryItemDone> items;
    if (task == nullptr) return items;
    RegistryKey key(registry, RegistryRoot::LocalMachine);
    for (const SubTask& subtask : task->SubTasks()) {
        if (subtask.Type() != SubTaskType::EditBox) continue;
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() != FieldKind::Description) continue;
            const int text = TextKeyFromReference(field.Value());
            if (text == int(TextKey::RegisterInfoUserDesc)) {
                items.push_back(ApplyRegistrySubtask(key, subtask, userName));
            } else if (text == int(TextKey::RegisterInfoCompanyDesc)) {
                items.push_back(ApplyRegistrySubtask(key, subtask, company));
            }
        }
    }
    return items;
}

}  // namespace vesk
