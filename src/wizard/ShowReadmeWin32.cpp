// The readme page.
#include "wizard/ShowReadmeWin32.h"

#include "resources/ResourceIds.h"
#include "wizard/DocumentChoice.h"

namespace vesk {

CShowReadme::CShowReadme(SetupSession& session)
    : DocumentPage(session, IDD_README_PAGE, SubTaskType::ShowReadme, kReadmeDocument) {}

bool CShowReadme::OnInitDialog() {
    SetUpFonts(nullptr, 0);
    return true;
}

}  // namespace vesk
