// The program folder page.
#include "wizard/SelectProgramFolderWin32.h"

#include "platform/WideTextWin32.h"
#include "project/WindowsNames.h"
#include "resources/ResourceIds.h"
#include "wizard/DestinationTexts.h"
#include "wizard/FolderListingWin32.h"

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
    ListExistingFolders();
    return true;
}

void CSelectProgramFolder::ListExistingFolders() {
    const std::string programs = session_.Resolve("[Start Menu]");
    if (programs.empty()) return;
    HWND list = Item(IDC_PROGRAM_FOLDER_LIST);
    for (const FolderEntry& entry : ListFolder(programs)) {
        if (!entry.isFolder || entry.name[0] == '.') continue;
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry.name).c_str()));
    }
}

bool CSelectProgramFolder::OnCommand(int id, int code) {
    if (id != IDC_PROGRAM_FOLDER_LIST || code != LBN_SELCHANGE) return false;
    HWND list = Item(IDC_PROGRAM_FOLDER_LIST);
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return true;
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(selected), 0);
    if (length == LB_ERR) return true;
    WideText name(std::size_t(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(list, LB_GETTEXT, WPARAM(selected), reinterpret_cast<LPARAM>(&name[0]));
    name.resize(copied == LB_ERR ? 0 : std::size_t(copied));
    SetItemText(IDC_PROGRAM_FOLDER_NAME, Narrow(name));  // the tracked copy follows
    return true;
}

bool CSelectProgramFolder::CanLeave() {
    std::string why;
    if (CheckWindowsFolderNames(FolderText(), why)) return true;
    Refuse(FolderNameRefusal(session_.texts, FolderText()), Item(IDC_PROGRAM_FOLDER_NAME));
    return false;
}

void CSelectProgramFolder::OnLeft() {
    session_.programFolder = FolderText();
    Hide();
}

}  // namespace vesk
