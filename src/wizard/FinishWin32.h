// The finish page: shown after a completed install, with the restart box or one box per program
// to start.
#pragma once

#include <functional>
#include <vector>

#include "wizard/FinishBoxes.h"
#include "wizard/WizardPageWin32.h"

namespace vesk {

class CFinish : public WizardPage {
public:
    // `finalCleanUp` runs before a restart, so the temporary files are gone when the system
    // goes down.
    CFinish(SetupSession& session, std::function<void()> finalCleanUp);

    // Builds the boxes for the task, all checked, in a column centred on the page: the restart
    // box (task 2009) or one per RunApp subtask. The frame calls it when it enters finish mode.
    // Under /NORESTART the restart box is unchecked and disabled.
    void SetContent(const Task* task) override;
    // Whether the i-th box is checked.
    bool IsChecked(std::size_t index) const;
    // Run by the frame when Finish is pressed: RunFinishAction with the boxes' states.
    void Complete();

private:
    bool OnInitDialog() override;
    void RemoveBoxes();

    std::function<void()> finalCleanUp_;
    FinishBoxMetrics metrics_;
    std::vector<HWND> boxes_;
};

}  // namespace vesk
