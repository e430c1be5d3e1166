// The disk request: a modal dialog asking where the next volume file of the setup lies.
#pragma once

#include <windows.h>

#include <string>

#include "project/LanguageTable.h"
#include "ui/DialogBaseWin32.h"
#include "ui/TrackedEditWin32.h"

namespace vesk {

// Builds the path of the requested volume file from the folder the user gives; testing the file
// is the caller's work. Created without a parent, shown modally from the thread that extracts.
class CInsertMediaDlg : public DialogBase {
public:
    explicit CInsertMediaDlg(const LanguageTable& texts) : texts_(texts) {}

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
    bool OnInitDialog() override;
    // Enter confirms like the confirm button; Escape and the close box give up.
    void OnOk() override { OnConfirm(); }
    void OnCancel() override;
    bool OnCommand(int id, int code) override;
    void OnConfirm();
    void OnBrowse();

    const LanguageTable& texts_;
    std::string expectedPath_;
    int volumeNumber_ = 0;
    TrackedEdit location_;  // the location: the copy kept by the location field
    std::string resultPath_;
};

}  // namespace vesk
