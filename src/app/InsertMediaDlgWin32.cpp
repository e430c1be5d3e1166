// The disk request dialog (template 141): location field, request message, confirm, browse and
// cancel.
#include "app/InsertMediaDlgWin32.h"

#include "container/ContainerFormat.h"
#include "platform/FolderBrowser.h"
#include "platform/WideTextWin32.h"
#include "resources/ResourceIds.h"

namespace vesk {
namespace {

// Controls that get the dialog's normal-weight font.
constexpr int kFontControls[] = {IDC_INSERT_MEDIA_LABEL,   IDC_INSERT_MEDIA_LOCATION,
                                 IDC_INSERT_MEDIA_MESSAGE, IDC_INSERT_MEDIA_BROWSE,
                                 IDC_INSERT_MEDIA_CONFIRM, IDC_INSERT_MEDIA_CANCEL};

// A drive root such as "A:\" is kept whole; longer folders lose their trailing backslash.
constexpr std::size_t kDriveRootLength = 3;

}  // namespace

void CInsertMediaDlg::SetRequest(const std::string& expectedPath, int volumeNumber) {
    expectedPath_ = expectedPath;
    volumeNumber_ = volumeNumber;
}

std::string CInsertMediaDlg::LocationOf(const std::string& expectedPath) {
    std::size_t slash = expectedPath.find_last_of('\\');
    std::string folder =
        slash == std::string::npos ? std::string() : expectedPath.substr(0, slash + 1);
    if (folder.size() > kDriveRootLength) folder.pop_back();
    return folder;
}

std::string CInsertMediaDlg::VolumePathIn(const std::string& location, int volumeNumber) {
    std::string path = location;
    if (location.size() != kDriveRootLength) path += '\\';
    return path + VolumeFileName(volumeNumber);
}

bool CInsertMediaDlg::DoModal() {
    resultPath_.clear();
    INT_PTR result = RunModal(IDD_INSERT_MEDIA, nullptr);
    location_.Detach();
    if (result != IDOK) resultPath_.clear();
    return result == IDOK;
}

bool CInsertMediaDlg::OnCommand(int id, int) {
    switch (id) {
        case IDC_INSERT_MEDIA_CONFIRM:
            OnConfirm();
            return true;
        case IDC_INSERT_MEDIA_CANCEL:
            OnCancel();
            return true;
        case IDC_INSERT_MEDIA_BROWSE:
            OnBrowse();
            return true;
        default:
            return false;
    }
}

bool CInsertMediaDlg::OnInitDialog() {
    SetUpFonts(kFontControls);
    // The field starts empty; the expected folder is only the copy, used when nothing is typed.
    location_.Attach(Window(), IDC_INSERT_MEDIA_LOCATION);
    location_.SetText(LocationOf(expectedPath_));
    resultPath_.clear();

    SetWindowTextW(Window(), Wide(texts_.GetText(TextKey::InsertMediaDesc)).c_str());
    SetItemText(IDC_INSERT_MEDIA_LABEL, texts_.GetText(TextKey::InsertMediaDesc3));
    SetItemText(IDC_INSERT_MEDIA_BROWSE, texts_.GetText(TextKey::InsertMediaBrowseDesc));
    SetItemText(IDC_INSERT_MEDIA_CONFIRM, texts_.GetText(TextKey::SureDesc));
    SetItemText(IDC_INSERT_MEDIA_CANCEL, texts_.GetText(TextKey::CancelButtonDesc));
    SetItemText(IDC_INSERT_MEDIA_MESSAGE, texts_.GetText(TextKey::InsertMediaDesc0) + " " +
                                              texts_.GetText(TextKey::ProjectName) + " " +
                                              texts_.GetText(TextKey::InsertMediaDesc1) +
                                              std::to_string(volumeNumber_) +
                                              texts_.GetText(TextKey::InsertMediaDesc2));
    return true;
}

void CInsertMediaDlg::OnConfirm() {
    if (location_.Text().empty()) {
        SetFocus(location_.Window());
        return;
    }
    resultPath_ = VolumePathIn(location_.Text(), volumeNumber_);
    EndModal(IDOK);
}

void CInsertMediaDlg::OnBrowse() {
    SetFocus(location_.Window());
    std::string chosen =
        BrowseForFolder(texts_.GetText(TextKey::InsertMediaDesc), location_.Text());
    if (!chosen.empty()) location_.SetText(chosen);
}

void CInsertMediaDlg::OnCancel() {
    resultPath_.clear();
    EndModal(IDCANCEL);
}

}  // namespace vesk
