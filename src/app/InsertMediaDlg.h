// The disk request: a modal dialog asking where the next volume file of the setup lies.
#pragma once

#include <windows.h>

#include <string>

#include "project/LanguageTable.h"
#include "wizard/DialogFont.h"
#include "wizard/TrackedEdit.h"

namespace vesk {

// Builds the path of the requested volume file from the folder the user gives; testing the file
// is the caller's work. Created without a parent, shown modally from the thread that extracts.
class CInsertMediaDlg {
public:
    explicit CInsertMediaDlg(const LanguageTable& texts) : texts_(texts) {}
    CInsertMediaDlg(const CInsertMediaDlg&) = delete;
    CInsertMediaDlg& operator=(const CInsertMediaDlg&) = delete;

    // The volume file looked for first and the number of the requested volume; call before each
    // display.
    void SetRequest(const std::string& expectedPath, int volumeNumber);

    // Shows the dialog until the user confirms a location or cancels. Every display starts
    // afresh. True when confirmed.
    bool DoModal();

    // The volume file path to try; empty when the user gave up.
    const std::string& ResultPath() const { return resultPath_; }

    // The folder of `expectedPath` (up to its last backslash); the backslash is dropped unless
    // the folder is a drive root of three characters such as "A:\".
    static std::string LocationOf(const std::string& expectedPath);
    // `location` + "\" (none for a three-character drive root) + "Setup" + N + ".Cab".
    static std::string VolumePathIn(const std::string& location, int volumeNumber);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND window);
    void OnConfirm();
    void OnBrowse();
    void OnCancel();
    void SetItemText(int id, const std::string& text) const;

    const LanguageTable& texts_;
    std::string expectedPath_;
    int volumeNumber_ = 0;
    TrackedEdit location_;  // the location: the copy kept by the location field
    std::string resultPath_;
    DialogFont font_;
    HWND window_ = nullptr;
};

}  // namespace vesk
