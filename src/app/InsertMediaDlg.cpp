// The disk request dialog (template 141): location field, request message, confirm, browse and
// cancel.
#include "app/InsertMediaDlg.h"

#include "container/ContainerFormat.h"
#include "platform/FolderBrowser.h"
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
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_INSERT_MEDIA),
                                     nullptr, &DialogProc, reinterpret_cast<LPARAM>(this));
    location_.Detach();
    font_.Reset();
    window_ = nullptr;
    if (result != IDOK) resultPath_.clear();
    return result == IDOK;
}

INT_PTR CALLBACK CInsertMediaDlg::DialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<CInsertMediaDlg*>(lParam)->OnInitDialog(window);
        return TRUE;
    }
    auto* dialog = reinterpret_cast<CInsertMediaDlg*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog || message != WM_COMMAND) return FALSE;
    if (TrackedEdit::ReflectCommand(wParam, lParam)) return TRUE;
    switch (LOWORD(wParam)) {
        case IDOK:  // Enter
        case IDC_INSERT_MEDIA_CONFIRM:
            dialog->OnConfirm();
            return TRUE;
        case IDCANCEL:  // Escape and the close box
        case IDC_INSERT_MEDIA_CANCEL:
            dialog->OnCancel();
            return TRUE;
        case IDC_INSERT_MEDIA_BROWSE:
            dialog->OnBrowse();
            return TRUE;
        default:
            return FALSE;
    }
}

void CInsertMediaDlg::OnInitDialog(HWND window) {
    window_ = window;
    if (font_.Create(window, DialogFont::kNormal)) {
        font_.ApplyTo(window, kFontControls, int(sizeof kFontControls / sizeof kFontControls[0]));
    }
    // The field starts empty; the expected folder is only the copy, used when nothing is typed.
    location_.Attach(window, IDC_INSERT_MEDIA_LOCATION);
    location_.SetText(LocationOf(expectedPath_));
    resultPath_.clear();

    SetWindowTextA(window, texts_.GetText(TextKey::InsertMediaDesc).c_str());
    SetItemText(IDC_INSERT_MEDIA_LABEL, texts_.GetText(TextKey::InsertMediaDesc3));
    SetItemText(IDC_INSERT_MEDIA_BROWSE, texts_.GetText(TextKey::InsertMediaBrowseDesc));
    SetItemText(IDC_INSERT_MEDIA_CONFIRM, texts_.GetText(TextKey::SureDesc));
    SetItemText(IDC_INSERT_MEDIA_CANCEL, texts_.GetText(TextKey::CancelButtonDesc));
    SetItemText(IDC_INSERT_MEDIA_MESSAGE, texts_.GetText(TextKey::InsertMediaDesc0) + " " +
                                              texts_.GetText(TextKey::ProjectName) + " " +
                                              texts_.GetText(TextKey::InsertMediaDesc1) +
                                              std::to_string(volumeNumber_) +
                                              texts_.GetText(TextKey::InsertMediaDesc2));
}

void CInsertMediaDlg::OnConfirm() {
    if (location_.Text().empty()) {
        SetFocus(location_.Window());
        return;
    }
    resultPath_ = VolumePathIn(location_.Text(), volumeNumber_);
    EndDialog(window_, IDOK);
}

void CInsertMediaDlg::OnBrowse() {
    SetFocus(location_.Window());
    SetBrowseInitialFolder(location_.Text());
    std::string chosen = BrowseForFolder(texts_.GetText(TextKey::InsertMediaDesc));
    if (!chosen.empty()) location_.SetText(chosen);
}

void CInsertMediaDlg::OnCancel() {
    resultPath_.clear();
    EndDialog(window_, IDCANCEL);
}

void CInsertMediaDlg::SetItemText(int id, const std::string& text) const {
    SetDlgItemTextA(window_, id, text.c_str());
}

}  // namespace vesk
