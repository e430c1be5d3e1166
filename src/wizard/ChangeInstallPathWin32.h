// The destination folder page: the folder the product is installed into.
#pragma once

#include "wizard/TrackedEditWin32.h"
#include "wizard/WizardPageWin32.h"

namespace vesk {

class CChangeInstallPath : public WizardPage {
public:
    explicit CChangeInstallPath(SetupSession& session);

    // The destination the page holds now.
    const std::string& PathText() const { return path_.Text(); }
    // Makes the page's folder the install folder when the page is left for the progress page.
    // False keeps the page shown.
    bool Commit();

private:
    bool OnInitDialog() override;

    TrackedEdit path_;
};

}  // namespace vesk
