// The contract every wizard page fulfils towards the frame, and what all pages share.
#pragma once

#include <windows.h>

#include <string>

#include "project/Task.h"
#include "session/SetupSession.h"
#include "ui/DialogBaseWin32.h"

namespace vesk {

// A modeless child dialog of the frame, made from its page template once, shown and hidden as
// the user moves, closed with the frame. Enter and Escape inside a page do nothing (the dialog
// base swallows them). The frame does not switch on a page's kind: it asks the page shown whether
// it may be left and tells it when it is left or entered, and each page does there what it needs.
class WizardPage : public DialogBase {
public:
    // Where a page lies in the frame: below the header band, or over it too (the welcome page).
    enum class Area { BelowHeader, CoversHeader };

    WizardPage(SetupSession& session, int templateId, Area area = Area::BelowHeader)
        : session_(session), templateId_(templateId), area_(area) {}

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

    Area PageArea() const { return area_; }
    // Next is pressed on the page: false keeps it shown (a folder name Windows cannot hold), the
    // user told why (Refuse). Asked before the wizard moves on.
    virtual bool CanLeave() { return true; }
    // Next leaves the page for a following page, after CanLeave: the page commits what it holds.
    // False keeps it shown, the user told why.
    virtual bool OnLeavingForward() { return true; }
    // The page is left by Next or Back: hidden.
    virtual void OnLeft() { Hide(); }
    // The page is entered: shown (the frame gives it the focus after).
    virtual void OnEntered() { Show(); }

protected:
    // Tells the user why the page stays (an OK box over the frame), then puts the focus into
    // `control`.
    void Refuse(const std::string& text, HWND control);

    SetupSession& session_;

private:
    int templateId_;
    Area area_;
    const Task* task_ = nullptr;
    bool closing_ = false;
};

}  // namespace vesk
