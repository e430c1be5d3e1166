// Folders and the Cancel question, shared by the phases.
#include "install/InstallContext.h"

#include "install/FolderChain.h"

namespace vesk {

void InstallContext::CreateFolders(const std::string& path) {
    for (const std::string& folder : CreateFolderChain(services.files, path)) {
        session.records.AddCreatedFolder(folder);
    }
}

bool InstallContext::CancelCheck() {
    SharedFlags& flags = session.flags;
    if (!flags.cancelRequested) return false;
    if (report.AskYesNo(Text(TextKey::ExitInstallMessage), Text(TextKey::ExitInstallTitle),
                        QuestionIcon::Question)) {
        flags.installOk = false;
        return true;
    }
    flags.cancelRequested = false;
    return false;
}

}  // namespace vesk
