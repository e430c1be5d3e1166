// The destination folder page: the folder the product is installed into, chosen by typing it,
// picking it in the folder tree or picking a drive.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/TrackedEditWin32.h"
#include "wizard/DestinationCommit.h"
#include "wizard/DestinationFolders.h"
#include "wizard/DestinationProposal.h"
#include "wizard/ExplorerWin32.h"
#include "wizard/WizardPageWin32.h"

namespace vesk {

class CChangeInstallPath : public WizardPage {
public:
    // The folders a commit makes are kept in `folders` until the install takes them over.
    CChangeInstallPath(SetupSession& session, DestinationFolders& folders);

    // The destination the page holds now.
    const std::string& PathText() const { return path_.Text(); }
    // Gives the destination edit the focus, its text selected.
    void FocusPath();

    // Next keeps the page shown unless the destination text can be committed (CommitPathOf).
    bool CanLeave() override;
    // The page is left by Next: the folder is created with every missing parent and becomes the
    // current folder and the install folder; the folders an earlier commit made are withdrawn
    // first. A text the commit rules refuse, or a folder the system cannot create or enter (what
    // it created is removed), keeps the page shown.
    bool OnLeavingForward() override;

private:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    // The drive lines of the combo box, the one of the default path's drive selected.
    void ListDrives();
    // The tree shows the folders of `root` ("C:" or "C:\") and selects its top, which proposes
    // that drive's folder.
    void ShowDrive(const std::string& root);
    // The combo box's selection was confirmed.
    void OnDriveChosen();
    // The tree's selection changed: the edit proposes that folder with the tail.
    void OnFolderSelected();

    std::vector<std::string> driveRoots_;  // "C:\" for each combo line, in its order
    DestinationFolders& folders_;
    std::string defaultPath_;
    std::optional<DestinationProposal> proposal_;
    CExplorer explorer_;
    TrackedEdit path_;
    int chosenDrive_ = -1;
};

}  // namespace vesk
