// Install scopes by name and from the project.
#include "project/InstallScope.h"

#include "project/InstallProject.h"
#include "project/NameCase.h"
#include "project/TaskSlots.h"

namespace vesk {

const char* InstallScopeName(InstallScope scope) {
    return scope == InstallScope::User ? "user" : "machine";
}

std::optional<InstallScope> InstallScopeFromName(const std::string& name) {
    for (InstallScope scope : {InstallScope::Machine, InstallScope::User}) {
        if (SameName(name, InstallScopeName(scope))) return scope;
    }
    return std::nullopt;
}

InstallScope ReadInstallScope(const InstallProject& project) {
    const std::string& value = project.GetValue(TaskIdForSlot(kSlotProjectProperties),
                                                SubTaskType::GetAllVar, FieldKind::InstallScope);
    return InstallScopeFromName(value).value_or(InstallScope::Machine);
}

const char* EngineFolder(InstallScope scope) {
    return scope == InstallScope::User ? "[Program Files]\\VeskInstall"
                                       : "[System Directory]\\VeskInstall";
}

std::string RecordsFolderOf(InstallScope scope) {
    return std::string(EngineFolder(scope)) + "\\Records";
}

std::string UninstallerPathOf(InstallScope scope) {
    return scope == InstallScope::User ? std::string(EngineFolder(scope)) + "\\Vesk-UnInstall.exe"
                                       : "[Windows Directory]\\Vesk-UnInstall.exe";
}

RegistryRoot EngineRoot(InstallScope scope) {
    return scope == InstallScope::User ? RegistryRoot::CurrentUser : RegistryRoot::LocalMachine;
}

}  // namespace vesk
