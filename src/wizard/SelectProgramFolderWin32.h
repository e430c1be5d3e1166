// The program folder page: the Start-menu folder that receives the program's shortcuts.
#pragma once

#include "wizard/TrackedEditWin32.h"
#include "wizard/WizardPageWin32.h"

namespace vesk {

class CSelectProgramFolder : public WizardPage {
public:
    explicit CSelectProgramFolder(SetupSession& session);

    // The folder name the page holds now: what the user typed, else the proposed one.
    const std::string& FolderText() const { return name_.Text(); }

private:
    bool OnInitDialog() override;

    TrackedEdit name_;
};

}  // namespace vesk
