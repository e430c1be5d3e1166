// The destination folder page: the folder the product is installed into, chosen by typing it,
// picking it in the folder tree or picking a drive.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/TrackedEditWin32.h"
#include "wizard/DestinationCommit.h"
#include "wizard/DestinationProposal.h"
#include "wizard/ExplorerWin32.h"
#include "wizard/WizardPageWin32.h"

namespace vesk {

class CChangeInstallPath : public WizardPage {
public:
    explicit CChangeInstallPath(SetupSession& session);

    // The destination the page holds now.
    const std::string& PathText() const { return path_.Text(); }
    // Whether the destination text can be committed (CommitPathOf); Next keeps the page shown
    // otherwise.
    bool PathTextUsable() const;
    // Run when the page is left by Next: creates the folder with every missing parent, makes it
    // the current folder and the install folder. The folders an earlier commit made are
    // withdrawn first. The refusal (None when committed) keeps the page shown: a text the commit
    // rules refuse, or a folder the system cannot create or enter (what it created is removed).
    DestinationCommit Commit();
    // The install starts: the folders the commit made become the install's, recorded for a
    // rollback, and are no longer the page's to withdraw.
    void HandOverFolders();
    // The wizard ends before the install: the folders the commit made go again.
    void WithdrawFolders();
    // Gives the destination edit the focus, its text selected.
    void FocusPath();

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

    std::vector<std::string> driveRoots_;   // "C:\" for each combo line, in its order
    std::vector<std::string> madeFolders_;  // by the last commit, top first, until handed over
    std::string defaultPath_;
    std::optional<DestinationProposal> proposal_;
    CExplorer explorer_;
    TrackedEdit path_;
    int chosenDrive_ = -1;
};

}  // namespace vesk
