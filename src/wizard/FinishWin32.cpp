// The finish page.
#include "wizard/FinishWin32.h"

#include "resources/ResourceIds.h"

namespace vesk {

CFinish::CFinish(SetupSession& session) : WizardPage(session, IDD_FINISH_PAGE) {}

bool CFinish::OnInitDialog() {
    SetUpFonts(nullptr, 0);
    return true;
}

void CFinish::SetContent(const Task* task) {
    WizardPage::SetContent(task);
}

void CFinish::Complete() {
    // The boxes and their actions (restart, programs to start) are not built yet.
}

}  // namespace vesk
