// Folders and the Cancel question, shared by the phases.
#include "install/InstallContext.h"

#include "install/FolderChain.h"
#include "project/NameCase.h"
#include "project/PathParts.h"

namespace vesk {

void InstallContext::CreateFolders(const std::string& path) {
    const std::vector<std::string> made = CreateFolderChain(services.files, path);
    for (const std::string& folder : made) {
        session.records.AddCreatedFolder(folder);
        keeper.NoteNewFolder(folder);
        ProtectFolder(folder);
    }
    std::string folder = path;
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    if (!services.files.FolderExists(folder)) {
        Log(LogKind::Error, {"cannot create the folder ", folder});
    } else {
        Log(LogKind::Folder, {folder, made.empty() ? " (exists)" : " (created)"});
    }
}

void InstallContext::ProtectFolder(const std::string& folder) {
    const std::string installFolder = Resolve("[InstallDir]");
    // The install folder, the folders in it and those made on the way to it.
    if (!SameName(folder, installFolder) && !LiesBelow(folder, installFolder) &&
        !LiesBelow(installFolder, folder)) {
        return;
    }
    if (!services.files.ProtectFolder(folder)) {
        Log(LogKind::Error, {"cannot set the access list of ", folder});
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
