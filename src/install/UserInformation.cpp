// Reading the registered user and writing the user information page's registry items.
#include "install/UserInformation.h"

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
                                                  const std::string& company,
                                                  InstallRecords* records) {
    std::vector<RegistryItemDone> items;
    if (task == nullptr) return items;
    RegistryKey key(registry, RegistryRoot::LocalMachine);
    for (const SubTask& subtask : task->SubTasks()) {
        if (subtask.Type() != SubTaskType::EditBox) continue;
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() != FieldKind::Description) continue;
            const int text = TextKeyFromReference(field.Value());
            const bool user = text == int(TextKey::RegisterInfoUserDesc);
            if (!user && text != int(TextKey::RegisterInfoCompanyDesc)) continue;
            const std::size_t first = records ? records->ChangeCount() : 0;
            items.push_back(ApplyRegistrySubtask(key, subtask, user ? userName : company));
            if (records)
                NoteUninstallChoice(*records, first, key.Root(), ReadRegistryItem(subtask));
        }
    }
    return items;
}

}  // namespace vesk
