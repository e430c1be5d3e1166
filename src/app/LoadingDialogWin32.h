// The loading dialog: a small borderless message shown while the start-up files are unpacked.
#pragma once

#include <windows.h>

#include "session/SetupSession.h"
#include "wizard/DialogBaseWin32.h"

namespace vesk {

// Created without a parent and shown modally by the start-up. 300 ms after it appears it unpacks
// the start-up files (a disk request may come up meanwhile) and ends itself; Enter and Escape do
// nothing. The outcome is left in the session's setupFinished, set when the unpacking failed.
class LoadingDialog : public DialogBase {
public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kDelayMs = 300;

    explicit LoadingDialog(SetupSession& session) : session_(session) {}

    // Shows the dialog until the unpacking has finished. True when every start-up file was
    // unpacked; a dialog that cannot be shown counts as a failure and sets setupFinished.
    bool DoModal();

    // The unpacking has run.
    bool Done() const { return done_; }

private:
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnTimer();

    SetupSession& session_;
    bool done_ = false;
};

}  // namespace vesk
