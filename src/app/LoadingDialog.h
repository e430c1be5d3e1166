// The loading dialog: a small borderless message shown while the start-up files are unpacked.
#pragma once

#include <windows.h>

#include "app/SetupState.h"
#include "container/ContainerReader.h"
#include "project/LanguageTable.h"
#include "project/TextLineList.h"
#include "wizard/DialogFont.h"

namespace vesk {

// Created without a parent and shown modally by the start-up. 300 ms after it appears it unpacks
// the start-up files (a disk request may come up meanwhile) and ends itself; Enter and Escape do
// nothing. The outcome is left in `state.setupFinished`, set when the unpacking failed.
class LoadingDialog {
public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kDelayMs = 300;

    LoadingDialog(SetupState& state, ContainerReader& reader, const TextLineList& files,
                  const LanguageTable& texts)
        : state_(state), reader_(reader), files_(files), texts_(texts) {}
    LoadingDialog(const LoadingDialog&) = delete;
    LoadingDialog& operator=(const LoadingDialog&) = delete;

    // Shows the dialog until the unpacking has finished. True when every start-up file was
    // unpacked; a dialog that cannot be shown counts as a failure and sets `setupFinished`.
    bool DoModal();

    // The unpacking has run.
    bool Done() const { return done_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND window);
    void OnShow();
    void OnTimer();

    SetupState& state_;
    ContainerReader& reader_;
    const TextLineList& files_;
    const LanguageTable& texts_;
    DialogFont font_;
    HWND window_ = nullptr;
    bool done_ = false;
};

}  // namespace vesk
