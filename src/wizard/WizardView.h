// What the wizard's page sequencing asks of the window that shows it.
#pragma once

#include <string>

#include "project/Task.h"
#include "wizard/PageKind.h"

namespace vesk {

enum class WizardButton { Back, Next, Cancel };

// Implemented by the wizard frame; a recording double in the tests.
class WizardView {
public:
    virtual ~WizardView() = default;

    // Whether the page of `kind` may be left by Next; false keeps it shown (a folder name that
    // Windows cannot hold), and the view has told the user why. Asked before the page cursor
    // moves.
    virtual bool CanLeave(int kind) = 0;
    // Commits the destination page's folder as the install folder when the destination page is
    // left by Next, whichever page follows. False keeps the destination page shown; the view has
    // told the user why.
    virtual bool CommitDestination() = 0;
    // Hides the page of `kind`: the program folder page's name becomes the program folder first,
    // the user information page saves its texts after.
    virtual void LeavePage(int kind) = 0;
    // Shows the page of `kind` (1 ... 7) and gives it the keyboard focus; the progress page
    // starts the install.
    virtual void EnterPage(int kind) = 0;

    virtual void SetHeader(const PageHeader& header) = 0;
    // The header band is hidden while the welcome page covers it.
    virtual void SetHeaderVisible(bool visible) = 0;
    // A button that loses the focus by being disabled hands it to the page or another button.
    virtual void EnableButton(WizardButton button, bool enabled) = 0;
    virtual void SetNextCaption(const std::string& text) = 0;

    // Hides the progress page, hands `task` to the finish page (which builds its boxes from it)
    // and shows the finish page with the focus.
    virtual void EnterFinishPage(const Task& task) = 0;
    // The finish page's completion action: restart, or start the checked programs.
    virtual void RunFinishAction() = 0;
    // Hides the wizard and tells the user that the install is complete (an OK box).
    virtual void ShowCompletionMessage(const std::string& text, const std::string& caption) = 0;
    // The exit question (Yes and No, No the default); true for Yes.
    virtual bool AskToExit(const std::string& text, const std::string& caption) = 0;
    // Closes the wizard 100 ms later (timer 8).
    virtual void StartCloseTimer() = 0;
};

}  // namespace vesk
