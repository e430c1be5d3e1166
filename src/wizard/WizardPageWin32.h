// The contract every wizard page fulfils towards the frame, and what all pages share.
#pragma once

#include <windows.h>

#include "project/Task.h"
#include "session/SetupSession.h"
#include "ui/DialogBaseWin32.h"

namespace vesk {

// A modeless child dialog of the frame, made from its page template once, shown and hidden as
// the user moves, closed with the frame. Enter and Escape inside a page do nothing (the dialog
// base swallows them).
class WizardPage : public DialogBase {
public:
    WizardPage(SetupSession& session, int templateId)
        : session_(session), templateId_(templateId) {}

    // Creates the page as a child of `frame`; the frame then moves it into the page area.
    bool Create(HWND frame);
    // Hands the page its project task (may be null); pages that read their task fill themselves
    // from it here.
    virtual void SetContent(const Task* task) { task_ = task; }
    const Task* GetTask() const { return task_; }

    // Moves the page to its place in the frame. Controls that would reach beyond it (a dialog
    // font wider than the one the template was drawn for) are narrowed or shortened to fit.
    void PlaceAt(int x, int y, int width, int height);

    // Shows the page; pages with something to refresh on every showing override it.
    virtual void Show();
    void Hide();
    // Sets the closing flag and destroys the window.
    void Close();
    bool Closing() const { return closing_; }

protected:
    SetupSession& session_;

private:
    int templateId_;
    const Task* task_ = nullptr;
    bool closing_ = false;
};

}  // namespace vesk
