// The program folder page.
#include "wizard/SelectProgramFolderWin32.h"

#include "resources/ResourceIds.h"

namespace vesk {

CSelectProgramFolder::CSelectProgramFolder(SetupSession& session)
    : WizardPage(session, IDD_PROGRAM_FOLDER_PAGE) {}

bool CSelectProgramFolder::OnInitDialog() {
    static const int kFontControls[] = {IDC_PROGRAM_FOLDER_TEXT, IDC_PROGRAM_FOLDER_NAME_LABEL,
                                        IDC_PROGRAM_FOLDER_LIST_LABEL, IDC_PROGRAM_FOLDER_LIST,
                                        IDC_PROGRAM_FOLDER_NAME};
    SetUpFonts(kFontControls);
    const LanguageTable& texts = session_.texts;
    SetItemText(IDC_PROGRAM_FOLDER_TEXT, texts.GetText(TextKey::ProgramFolderDesc2));
    SetItemText(IDC_PROGRAM_FOLDER_NAME_LABEL, texts.GetText(TextKey::ProgramFolderDesc3));
    SetItemText(IDC_PROGRAM_FOLDER_LIST_LABEL, texts.GetText(TextKey::ProgramFolderDesc4));
    // The edit shows the name that will be used when the user changes nothing.
    SetItemText(IDC_PROGRAM_FOLDER_NAME, session_.programFolder);
    name_.Attach(Window(), IDC_PROGRAM_FOLDER_NAME);
    return true;
}

}  // namespace vesk
