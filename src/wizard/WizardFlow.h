// The wizard's page sequencing: which page Back, Next, Cancel and the install's end lead to.
#pragma once

#include "project/InstallProject.h"
#include "project/LanguageTable.h"
#include "session/SharedFlags.h"
#include "wizard/WizardView.h"

namespace vesk {

// Walks the project's page tasks (those with IsExec set, in file order) with the project's page
// cursor. Runs on the user-interface thread; the install worker reaches it only through the
// frame's timers.
class WizardFlow {
public:
    WizardFlow(InstallProject& project, SharedFlags& flags, const LanguageTable& texts,
               WizardView& view)
        : project_(project), flags_(flags), texts_(texts), view_(view) {}

    // Shows the page task at the project's cursor; a project without page tasks shows none.
    void Start();

    // Next: on to the next page task, unless the page shown may not be left; leaving the
    // destination page commits its folder first (a refused commit keeps the page); after the
    // install the finish page (finish mode) or, when no page task follows the progress page, the
    // completion message; in finish mode the finish page's action, once, then the wizard closes.
    void OnNext();
    // Back: the page task before the current one; nothing on the first, where Back is disabled.
    void OnBack();
    // Cancel, Escape and the close box: during the install only a request to the worker;
    // otherwise the exit question.
    void OnCancel();
    // The install completed (timer 2): as Next.
    void OnInstallCompleted() { OnNext(); }

    int CurrentKind() const { return currentKind_; }
    bool FinishMode() const { return finishMode_; }

private:
    void ShowPage(const Task* task);

    InstallProject& project_;
    SharedFlags& flags_;
    const LanguageTable& texts_;
    WizardView& view_;
    int currentKind_ = kNoPage;
    bool finishMode_ = false;
    bool finishActed_ = false;
};

}  // namespace vesk
