// The loading dialog: a small borderless window with a bar, on screen from the start of a run
// until the first window of the setup proper (the wizard, the advertising picture, the
// preparatory program) takes over.
#pragma once

#include <windows.h>

#include "session/SetupSession.h"
#include "ui/DialogBaseWin32.h"

namespace vesk {

// Created without a parent or owner and shown without taking the activation, so nothing waits
// for it to go and Enter and Escape never reach it. While it is shown, the reader's checksum
// passes move its bar, and the dialog repaints in between; its text, the language file's
// LoadingInstallFiles, comes once the language file is read.
class LoadingDialog : public DialogBase {
public:
    explicit LoadingDialog(SetupSession& session) : session_(session) {}
    ~LoadingDialog() override { Close(); }

    // Shows the dialog, without text, and has the reader report its checksum passes to the bar.
    // Without a dialog (it cannot be made) the run simply goes on.
    void Show();
    // The language file is loaded: shows the dialog's text.
    void ShowText();
    // Unpacks the start-up files into the run's folder (a disk request may come up meanwhile).
    // False, with setupFinished set, when one cannot be unpacked.
    bool UnpackStartupFiles();
    // Takes the dialog away and stops the reader's reports; nothing when it is not shown.
    void Close();

private:
    bool OnInitDialog() override;
    // The bar at `done` of `total`; the dialog repaints at most every kRepaintMs.
    void OnCheckProgress(std::int64_t done, std::int64_t total);
    // Handles the messages waiting for this thread's windows: the dialog paints itself.
    void Repaint();

    static constexpr DWORD kRepaintMs = 30;

    SetupSession& session_;
    DWORD lastRepaint_ = 0;
};

}  // namespace vesk
