// The destination folder page.
#include "wizard/ChangeInstallPathWin32.h"

#include "install/SystemUtilities.h"
#include "project/NameCase.h"
#include "project/TaskSlots.h"
#include "resources/ResourceIds.h"
#include "wizard/DestinationCommit.h"
#include "wizard/DestinationTexts.h"

namespace vesk {
namespace {

bool IsSelectionNotification(UINT code) {
    return code == TVN_SELCHANGEDA || code == TVN_SELCHANGEDW;
}

}  // namespace

CChangeInstallPath::CChangeInstallPath(SetupSession& session)
    : WizardPage(session, IDD_DESTINATION_PAGE) {}

bool CChangeInstallPath::OnInitDialog() {
    static const int kFontControls[] = {IDC_DESTINATION_TEXT, IDC_DESTINATION_PATH,
                                        IDC_DESTINATION_DRIVES, IDC_DESTINATION_SIZE};
    SetUpFonts(kFontControls);
    const LanguageTable& texts = session_.texts;
    defaultPath_ = session_.paths.InstallDir();
    SetItemText(IDC_DESTINATION_PATH, defaultPath_);
    path_.Attach(Window(), IDC_DESTINATION_PATH);
    proposal_.emplace(defaultPath_, session_.Resolve("[Program Files]"));

    const std::string size = session_.project.GetValue(
        TaskIdForSlot(kSlotProjectProperties), SubTaskType::GetAllVar, FieldKind::SoftwareSize);
    SetItemText(IDC_DESTINATION_SIZE, SizeLineText(texts, SoftwareSizeBytes(size)));
    SetItemText(IDC_DESTINATION_TEXT, texts.GetText(TextKey::ChangePathDesc2));
    ListDrives();

    explorer_.Attach(Item(IDC_DESTINATION_TREE));
    // The default path's drive; the first listed drive when the path names none.
    const std::string root = defaultPath_.size() >= 2 && defaultPath_[1] == ':'
                                 ? UpperName(defaultPath_.substr(0, 1)) + ":"
                                 : (driveRoots_.empty() ? "" : driveRoots_.front().substr(0, 2));
    if (!root.empty()) ShowDrive(root);
    return true;
}

void CChangeInstallPath::ListDrives() {
    HWND combo = Item(IDC_DESTINATION_DRIVES);
    const char current = defaultPath_.empty() ? 0 : UpperName(defaultPath_.substr(0, 1))[0];
    for (const DriveSpace& drive : vesk::ListDrives(session_.System())) {
        const std::string line = DriveLineText(session_.texts, drive);
        const LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(line.c_str()));
        if (index < 0) continue;
        driveRoots_.push_back(std::string(1, drive.letter) + ":\\");
        if (drive.letter == current) {
            SendMessageA(combo, CB_SETCURSEL, WPARAM(index), 0);
            chosenDrive_ = int(index);
        }
    }
}

void CChangeInstallPath::ShowDrive(const std::string& root) {
    explorer_.Init(root, false);
    explorer_.SelectPath(root);
}

bool CChangeInstallPath::OnCommand(int id, int code) {
    if (id != IDC_DESTINATION_DRIVES) return false;
    // A click in the open list confirms with CBN_SELENDOK; the arrow keys on the closed box only
    // change the selection.
    HWND combo = Item(IDC_DESTINATION_DRIVES);
    const bool confirmed = code == CBN_SELENDOK || (code == CBN_SELCHANGE &&
                                                    !SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    if (confirmed) OnDriveChosen();
    return confirmed;
}

void CChangeInstallPath::OnDriveChosen() {
    const LRESULT index = SendMessageA(Item(IDC_DESTINATION_DRIVES), CB_GETCURSEL, 0, 0);
    if (index < 0 || std::size_t(index) >= driveRoots_.size() || int(index) == chosenDrive_) return;
    chosenDrive_ = int(index);
    ShowDrive(driveRoots_[std::size_t(index)]);
}

bool CChangeInstallPath::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) {
    if (message != WM_NOTIFY) return false;
    const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
    if (header.hwndFrom != explorer_.Window()) return false;
    if (explorer_.OnNotify(header)) {
        result = 0;
        return true;
    }
    if (IsSelectionNotification(header.code) && !explorer_.Busy()) {
        OnFolderSelected();
        result = 0;
        return true;
    }
    return false;
}

void CChangeInstallPath::OnFolderSelected() {
    HTREEITEM selected = TreeView_GetSelection(explorer_.Window());
    if (!selected || !proposal_) return;
    SetItemText(IDC_DESTINATION_PATH, proposal_->ForFolder(explorer_.PathOf(selected)));
}

bool CChangeInstallPath::PathTextUsable() const {
    return CommitPathOf(path_.Text()).has_value();
}

bool CChangeInstallPath::Commit() {
    const std::optional<std::string> path = CommitPathOf(path_.Text());
    if (!path) return false;
    std::vector<std::string> created;
    for (const std::string& folder : FolderChainOf(*path)) {
        if (CreateDirectoryA(folder.c_str(), nullptr)) created.push_back(folder);
    }
    if (!SetCurrentDirectoryA(path->c_str())) {
        // A folder the system cannot create or enter: nothing of the attempt stays.
        for (auto folder = created.rbegin(); folder != created.rend(); ++folder) {
            RemoveDirectoryA(folder->c_str());
        }
        return false;
    }
    // In the order made: the rollback removes the last made first, the deepest.
    for (const std::string& folder : created) session_.records.AddCreatedFolder(folder);
    session_.paths.SetInstallDir(*path);
    return true;
}

}  // namespace vesk
