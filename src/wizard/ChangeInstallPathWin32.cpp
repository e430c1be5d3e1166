// The destination folder page.
#include "wizard/ChangeInstallPathWin32.h"

#include "resources/ResourceIds.h"

namespace vesk {

CChangeInstallPath::CChangeInstallPath(SetupSession& session)
    : WizardPage(session, IDD_DESTINATION_PAGE) {}

bool CChangeInstallPath::OnInitDialog() {
    static const int kFontControls[] = {IDC_DESTINATION_TEXT, IDC_DESTINATION_PATH,
                                        IDC_DESTINATION_DRIVES, IDC_DESTINATION_SIZE};
    SetUpFonts(kFontControls);
    SetItemText(IDC_DESTINATION_TEXT, session_.texts.GetText(TextKey::ChangePathDesc2));
    SetItemText(IDC_DESTINATION_PATH, session_.paths.InstallDir());
    path_.Attach(Window(), IDC_DESTINATION_PATH);
    return true;
}

bool CChangeInstallPath::Commit() {
    if (path_.Text().empty()) return false;
    session_.paths.SetInstallDir(path_.Text());
    return true;
}

}  // namespace vesk
