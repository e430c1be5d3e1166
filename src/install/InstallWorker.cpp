// The order of the install's phases, cancellation and the end.
#include "install/InstallWorker.h"

namespace vesk {

bool InstallWorker::CancelCheck() {
    if (!session_.flags.cancelRequested) return false;
    const LanguageTable& texts = session_.texts;
    if (report_.AskYesNo(texts.GetText(TextKey::ExitInstallMessage),
                         texts.GetText(TextKey::ExitInstallTitle), QuestionIcon::Question)) {
        session_.flags.installOk = false;
        return true;
    }
    session_.flags.cancelRequested = false;
    return false;
}

bool InstallWorker::RunPhase(TextKey status, const std::function<void()>& items) {
    report_.SetStatus(session_.texts.GetText(status));
    items();
    CancelCheck();
    pause_(kPhasePauseMs);
    return session_.flags.installOk;
}

void InstallWorker::Run() {
    SharedFlags& flags = session_.flags;
    flags.installOk = true;
    report_.SetStatus(session_.texts.GetText(TextKey::InstallProcessDesc2));
    pause_(kPhasePauseMs);

    // Each phase announces itself, gives the user the chance to stop, and pauses. The work of
    // the phases on the system (folders, files, fonts, registry items, components, files to
    // remove, shortcuts, the uninstall record) is not part of this worker yet: a run installs
    // nothing.
    const TextKey phases[] = {TextKey::CreateFolderDesc,  TextKey::CopyFileDesc,
                              TextKey::InstallFontDesc,   TextKey::OperationRegistryDesc,
                              TextKey::RegisterComDesc,   TextKey::ClearFileDesc,
                              TextKey::CreateFileLinkDesc};
    for (TextKey phase : phases) {
        if (!RunPhase(phase, [] {})) break;
    }

    if (flags.installOk) {
        report_.SetProgress(100);
        flags.setupFinished = true;
        report_.Finish(InstallOutcome::Completed);
    } else {
        report_.Finish(InstallOutcome::EndedEarly);
    }
}

}  // namespace vesk
