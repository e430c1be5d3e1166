// Folders and the Cancel question, shared by the phases.
#include "install/InstallContext.h"

#include "install/FolderChain.h"

namespace vesk {

void InstallContext::CreateFolders(const std::string& path) {
    const std::vector<std::string> made = CreateFolderChain(services.files, path);
    for (const std::string& folder : made) session.records.AddCreatedFolder(folder);
    std::string folder = path;
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    if (!services.files.FolderExists(folder)) {
        Log(LogKind::Error, {"cannot create the folder ", folder});
    } else {
        Log(LogKind::Folder, {folder, made.empty() ? " (exists)" : " (created)"});
    }
}

bool InstallContext::CancelCheck() {
    SharedFlags& flags = session.flags;
    if (!flags.cancelRequested) return false;
    if (report.AskYesNo(Text(TextKey::ExitInstallMessage), Text(TextKey::ExitInstallTitle),
                        QuestionIcon::Question)) {
        flags.installOk = false;
        Log(LogKind::Error, "stopped by the user");
        return true;
    }
    flags.cancelRequested = false;
    return false;
}

}  // namespace vesk
