// The unattended install.
#include "app/UnattendedInstall.h"

#include "install/FolderChain.h"
#include "install/InstallWorker.h"
#include "install/UserInformation.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

void SaveRegisteredUser(SetupSession& session) {
    const Task* page = session.project.FindSlotTask(kSlotUserInformation);
    if (page == nullptr || !page->IsExec()) return;
    const RegisteredUser user = ReadRegisteredUser(session.SystemRegistry(), session.System());
    session.log.Add(LogKind::Setup,
                    {"user information: \"", user.owner, "\", \"", user.organization, "\""});
    for (const RegistryItemDone& item : SaveUserInformation(
             session.SystemRegistry(), page, user.owner, user.organization, &session.records)) {
        LogRegistryItem(session.log, item);
    }
}

bool MakeInstallFolder(SetupSession& session, FileSystem& files) {
    const std::string folder = session.paths.InstallDir();
    for (const std::string& made : CreateFolderChain(files, folder)) {
        session.records.AddCreatedFolder(made);
    }
    if (files.FolderExists(folder)) return true;
    session.log.Add(LogKind::Error, {"cannot create the install folder ", folder});
    return false;
}

}  // namespace

void RunUnattendedInstall(SetupSession& session, InstallServices& services, InstallReport& report) {
    session.flags.licenceAccepted = true;
    SaveRegisteredUser(session);
    if (!MakeInstallFolder(session, services.files)) {
        session.flags.installOk = false;
        session.flags.installFailed = true;
        return;
    }
    services.pause = [](int) {};
    InstallWorker(session, report, services).Run();
}

}  // namespace vesk
