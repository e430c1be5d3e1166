// Page kinds, their templates and their header texts.
#include "wizard/PageKind.h"

#include "resources/ResourceIds.h"

namespace vesk {

int PageKindOf(const Task* task) {
    if (task == nullptr) return kNoPage;
    for (int slot = kSlotWelcome; slot <= kSlotFinish2; ++slot) {
        if (TaskIdForSlot(slot) == task->Id()) return slot;
    }
    return kNoPage;
}

int PageTemplateOf(int kind) {
    switch (kind) {
        case kWelcomePage:
            return IDD_WELCOME_PAGE;
        case kLicencePage:
            return IDD_LICENCE_PAGE;
        case kReadmePage:
            return IDD_README_PAGE;
        case kUserInformationPage:
            return IDD_USER_INFORMATION_PAGE;
        case kProgramFolderPage:
            return IDD_PROGRAM_FOLDER_PAGE;
        case kDestinationPage:
            return IDD_DESTINATION_PAGE;
        case kProgressPage:
            return IDD_PROGRESS_PAGE;
        case kRestartFinishPage:
        case kRunProgramsFinishPage:
            return IDD_FINISH_PAGE;
        default:
            return 0;
    }
}

PageHeader PageHeaderOf(int kind, const LanguageTable& texts) {
    auto header = [&texts](TextKey subject, TextKey description) {
        return PageHeader{texts.GetText(subject), texts.GetText(description)};
    };
    switch (kind) {
        case kLicencePage:
            return header(TextKey::ReadSoftDocSubject, TextKey::ReadSoftDocDesc);
        case kReadmePage:
            return header(TextKey::ShowReadmeSubject, TextKey::ShowReadmeDesc);
        case kUserInformationPage:
            return header(TextKey::RegisterInfoSubject, TextKey::RegisterInfoDesc);
        case kProgramFolderPage:
            return header(TextKey::ProgramFolderSubject, TextKey::ProgramFolderDesc);
        case kDestinationPage:
            return header(TextKey::ChangePathSubject, TextKey::ChangePathDesc);
        case kProgressPage:
            return header(TextKey::InstallProcessSubject, TextKey::InstallProcessDesc);
        case kRestartFinishPage:
        case kRunProgramsFinishPage:
            return PageHeader{
                texts.GetText(TextKey::ShowFinishSubject),
                texts.GetText(TextKey::ProjectName) + texts.GetText(TextKey::ShowFinishDesc)};
        default:
            return PageHeader{};
    }
}

}  // namespace vesk
