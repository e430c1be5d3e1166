// The user information page.
#include "wizard/RegisterInfoWin32.h"

#include "install/UserInformation.h"
#include "resources/ResourceIds.h"

namespace vesk {

CRegisterInfo::CRegisterInfo(SetupSession& session)
    : WizardPage(session, IDD_USER_INFORMATION_PAGE) {}

bool CRegisterInfo::OnInitDialog() {
    static const int kFontControls[] = {IDC_USER_NAME, IDC_USER_COMPANY, IDC_USER_COMPANY_LABEL,
                                        IDC_USER_NAME_LABEL};
    SetUpFonts(kFontControls);
    // The fields start with what the Windows installation was registered to.
    const RegisteredUser user = ReadRegisteredUser(session_.SystemRegistry(), session_.System());
    SetItemText(IDC_USER_NAME, user.owner);
    SetItemText(IDC_USER_COMPANY, user.organization);
    userName_.Attach(Window(), IDC_USER_NAME);
    company_.Attach(Window(), IDC_USER_COMPANY);
    return true;
}

void CRegisterInfo::SetContent(const Task* task) {
    SetItemText(IDC_USER_COMPANY_LABEL, session_.texts.GetText(TextKey::RegisterInfoCompanyDesc));
    SetItemText(IDC_USER_NAME_LABEL, session_.texts.GetText(TextKey::RegisterInfoUserDesc));
    WizardPage::SetContent(task);
}

void CRegisterInfo::OnLeft() {
    Hide();
    for (const RegistryItemDone& item :
         SaveUserInformation(session_.SystemRegistry(), GetTask(), userName_.Text(),
                             company_.Text(), &session_.records)) {
        LogRegistryItem(session_.log, item);
    }
}

}  // namespace vesk
