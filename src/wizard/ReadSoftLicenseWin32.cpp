// The licence page: Accept and Reject decide whether Next may be pressed.
#include "wizard/ReadSoftLicenseWin32.h"

#include "resources/ResourceIds.h"
#include "wizard/DocumentChoice.h"

namespace vesk {

CReadSoftLicense::CReadSoftLicense(SetupSession& session)
    : DocumentPage(session, IDD_LICENCE_PAGE, SubTaskType::ShowSoftDoc, kLicenceDocument) {}

bool CReadSoftLicense::OnInitDialog() {
    static const int kFontControls[] = {IDC_LICENCE_ACCEPT, IDC_LICENCE_REJECT};
    SetUpFonts(kFontControls);
    return true;
}

void CReadSoftLicense::SetContent(const Task* task) {
    SetItemText(IDC_LICENCE_ACCEPT, session_.texts.GetText(TextKey::ReadSoftDocAcceptDesc));
    SetItemText(IDC_LICENCE_REJECT, session_.texts.GetText(TextKey::ReadSoftDocRejectDesc));
    DocumentPage::SetContent(task);
}

void CReadSoftLicense::Show() {
    const bool accepted = session_.flags.licenceAccepted;
    CheckRadioButton(Window(), IDC_LICENCE_ACCEPT, IDC_LICENCE_REJECT,
                     accepted ? IDC_LICENCE_ACCEPT : IDC_LICENCE_REJECT);
    DocumentPage::Show();
}

bool CReadSoftLicense::OnCommand(int id, int code) {
    if (code != BN_CLICKED || (id != IDC_LICENCE_ACCEPT && id != IDC_LICENCE_REJECT)) return false;
    SetAccepted(id == IDC_LICENCE_ACCEPT);
    return true;
}

void CReadSoftLicense::SetAccepted(bool accepted) {
    session_.flags.licenceAccepted = accepted;
    // The buttons follow the choice also when it came as a command rather than a click.
    CheckRadioButton(Window(), IDC_LICENCE_ACCEPT, IDC_LICENCE_REJECT,
                     accepted ? IDC_LICENCE_ACCEPT : IDC_LICENCE_REJECT);
    EnableWindow(GetDlgItem(GetParent(Window()), IDC_WIZARD_NEXT), accepted ? TRUE : FALSE);
}

}  // namespace vesk
