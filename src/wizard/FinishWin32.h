// The finish page: shown after a completed install, with the restart box or the boxes of
// programs to start.
#pragma once

#include "wizard/WizardPageWin32.h"

namespace vesk {

class CFinish : public WizardPage {
public:
    explicit CFinish(SetupSession& session);

    // Builds the page for its task: the restart variant (task 2009) or the run-programs variant.
    void SetContent(const Task* task) override;
    // Run by the frame when Finish is pressed: restart, or start the checked programs.
    void Complete();

private:
    bool OnInitDialog() override;
};

}  // namespace vesk
