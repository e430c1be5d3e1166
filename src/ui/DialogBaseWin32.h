// The one message routing every dialog and wizard page of the engine runs through.
#pragma once

#include <windows.h>

#include <string>

#include "ui/DialogFontWin32.h"

namespace vesk {

// A dialog made from a template, modal or modeless. It routes the dialog's messages to the
// virtual handlers below, reflects change notifications to tracked edits, and swallows Enter and
// Escape unless a dialog overrides OnOk or OnCancel: a window of the engine never closes itself
// by a key the user did not mean for it.
class DialogBase {
public:
    DialogBase() = default;
    virtual ~DialogBase();
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // Shows the dialog from `templateId` modally, owned by `owner` (may be null), until EndModal.
    // The value given to EndModal; -1 when the dialog cannot be created.
    INT_PTR RunModal(int templateId, HWND owner);
    // Creates the dialog as a modeless window, a child when the template says so. False when it
    // cannot be created.
    bool CreateModeless(int templateId, HWND parent);
    // Destroys a modeless dialog's window (nothing when there is none).
    void Destroy();

    HWND Window() const { return window_; }
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    void SetItemText(int id, const std::string& text) const;

protected:
    // After the default initialisation. True lets the system set the focus.
    virtual bool OnInitDialog() { return true; }
    // Enter (IDOK) and Escape or the close box (IDCANCEL).
    virtual void OnOk() {}
    virtual void OnCancel() {}
    // WM_COMMAND from any other control; true when handled.
    virtual bool OnCommand(int id, int code) {
        (void)id;
        (void)code;
        return false;
    }
    // Any other message; true when handled, with `result` the dialog procedure's answer.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
        (void)message;
        (void)wParam;
        (void)lParam;
        (void)result;
        return false;
    }

    // The font set-up every dialog shares: copies of the dialog font with the face name emptied,
    // of weight 400 (given to the listed controls) and 700.
    template <int N>
    void SetUpFonts(const int (&ids)[N]) {
        SetUpFonts(ids, N);
    }
    void SetUpFonts(const int* ids, int count);
    HFONT NormalFont() const { return normalFont_.get(); }
    HFONT BoldFont() const { return boldFont_.get(); }

    void EndModal(INT_PTR result);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    bool modal_ = false;
    DialogFont normalFont_;
    DialogFont boldFont_;
};

}  // namespace vesk
