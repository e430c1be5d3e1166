// An edit control that keeps a copy of its text, so dialogs read the copy instead of the window.
#pragma once

#include <windows.h>

#include <string>

namespace vesk {

// Bound to an existing edit control by subclassing. On every change notification (typed text or
// text set by program) the whole window text is read again into the copy. The owner may also set
// the copy directly; such text is not shown in the control.
class TrackedEdit {
public:
    TrackedEdit() = default;
    ~TrackedEdit() { Detach(); }
    TrackedEdit(const TrackedEdit&) = delete;
    TrackedEdit& operator=(const TrackedEdit&) = delete;

    // Subclasses control `id` of `dialog`; the copy starts as the control's text. False when the
    // control does not exist.
    bool Attach(HWND dialog, int id);
    // Gives the control back its own window procedure (also done when the control is destroyed).
    void Detach();

    // Dialogs owning tracked edits pass every WM_COMMAND here: an EN_CHANGE from a tracked edit
    // refreshes its copy. True when the notification came from a tracked edit.
    static bool ReflectCommand(WPARAM wParam, LPARAM lParam);

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text) { text_ = text; }
    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Refresh();

    HWND window_ = nullptr;
    WNDPROC original_ = nullptr;
    std::string text_;
};

}  // namespace vesk
