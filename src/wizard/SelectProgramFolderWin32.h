// The program folder page: the Start-menu folder that receives the program's shortcuts.
#pragma once

#include "ui/TrackedEditWin32.h"
#include "wizard/WizardPageWin32.h"

namespace vesk {

class CSelectProgramFolder : public WizardPage {
public:
    explicit CSelectProgramFolder(SetupSession& session);

    // The folder name the page holds now: the proposed one, what the user typed, or the
    // existing folder picked from the list.
    const std::string& FolderText() const { return name_.Text(); }

    // Next keeps the page shown unless the name can be a folder on Windows (empty is allowed:
    // no program group).
    bool CanLeave() override;
    // The name becomes the program folder, then the page is hidden.
    void OnLeft() override;

private:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    // The folders of the Start menu's programs folder, into the sorted list.
    void ListExistingFolders();

    TrackedEdit name_;
};

}  // namespace vesk
