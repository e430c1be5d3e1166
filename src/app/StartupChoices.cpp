// Reading the start-up choices from the project and the product's registry key.
#include "app/StartupChoices.h"

#include "project/RegistryKey.h"
#include "project/TaskSlots.h"

namespace vesk {

std::string ProposedProgramFolder(const InstallProject& project) {
    return project.GetValue(TaskIdForSlot(kSlotShortcuts), SubTaskType::GetValue,
                            FieldKind::Description);
}

std::string AdPictureSetting(const InstallProject& project) {
    return project.GetValue(TaskIdForSlot(kSlotProjectProperties), SubTaskType::GetAllVar,
                            FieldKind::AdPicture);
}

std::string PreparatoryProgramSetting(const InstallProject& project) {
    return project.GetValue(TaskIdForSlot(kSlotProjectProperties), SubTaskType::GetAllVar,
                            FieldKind::ProvideForInstall);
}

std::string ProposedInstallFolder(const InstallProject& project, const PathResolver& resolver,
                                  Registry& registry) {
    std::string folder = resolver.Resolve(project.GetValue(
        TaskIdForSlot(kSlotProjectProperties), SubTaskType::GetAllVar, FieldKind::InstallPath));
    RegistryKey productKey(registry, EngineRoot(resolver.Scope()));
    if (productKey.OpenForReading(std::string(kEngineKey) + "\\" + project.ProjectName())) {
        std::string earlier = productKey.ReadString("Path");
        if (!earlier.empty()) folder = earlier;
    }
    return folder;
}

}  // namespace vesk
