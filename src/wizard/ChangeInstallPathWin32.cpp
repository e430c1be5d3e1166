// The destination folder page.
#include "wizard/ChangeInstallPathWin32.h"

#include "install/SystemUtilities.h"
#include "platform/FileSystem.h"
#include "platform/WideTextWin32.h"
#include "project/NameCase.h"
#include "project/TaskSlots.h"
#include "resources/ResourceIds.h"
#include "wizard/DestinationTexts.h"

namespace vesk {
namespace {

bool IsSelectionNotification(UINT code) {
    return code == TVN_SELCHANGEDA || code == TVN_SELCHANGEDW;
}

}  // namespace

CChangeInstallPath::CChangeInstallPath(SetupSession& session, DestinationFolders& folders)
    : WizardPage(session, IDD_DESTINATION_PAGE), folders_(folders) {}

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
        const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(Wide(line).c_str()));
        if (index < 0) continue;
        driveRoots_.push_back(std::string(1, drive.letter) + ":\\");
        if (drive.letter == current) {
            SendMessageW(combo, CB_SETCURSEL, WPARAM(index), 0);
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
                                                    !SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    if (confirmed) OnDriveChosen();
    return confirmed;
}

void CChangeInstallPath::OnDriveChosen() {
    const LRESULT index = SendMessageW(Item(IDC_DESTINATION_DRIVES), CB_GETCURSEL, 0, 0);
    if (index < 0 || std::size_t(index) >= driveRoots_.size() || int(index) == chosenDrive_) return;
    chosenDrive_ = int(index);
    ShowDrive(driveRoots_[std::size_t(index)]);
}

bool CChangeInstallPath::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) {
    if (message == WM_DESTROY) {
        // The wizard closes before the install started: the folders the commit made go again
        // (once the install has taken them over, none are left here).
        folders_.Withdraw(HostFileSystem());
        return false;
    }
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

bool CChangeInstallPath::CanLeave() {
    if (CommitPathOf(path_.Text()).has_value()) return true;
    Refuse(FolderNameRefusal(session_.texts, path_.Text()), Item(IDC_DESTINATION_PATH));
    return false;
}

bool CChangeInstallPath::OnLeavingForward() {
    FileSystem& files = HostFileSystem();
    folders_.Withdraw(files);
    DestinationCommit commit = CommitDestination(path_.Text(), files);
    if (commit.refusal == DestinationRefusal::None) {
        folders_.Keep(std::move(commit.made));
        session_.paths.SetInstallDir(commit.path);
        return true;
    }
    const LanguageTable& texts = session_.texts;
    Refuse(commit.refusal == DestinationRefusal::CannotCreate
               ? CreateFolderRefusal(texts, commit.path)
               : FolderNameRefusal(texts, commit.path),
           Item(IDC_DESTINATION_PATH));
    return false;
}

void CChangeInstallPath::FocusPath() {
    SendMessageW(GetParent(Window()), WM_NEXTDLGCTL, WPARAM(Item(IDC_DESTINATION_PATH)), TRUE);
}

}  // namespace vesk
