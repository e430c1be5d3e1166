// The user information page: the user's name and company, written to the project's registry
// items whenever the page is left.
#pragma once

#include "ui/TrackedEditWin32.h"
#include "wizard/WizardPageWin32.h"

namespace vesk {

class CRegisterInfo : public WizardPage {
public:
    explicit CRegisterInfo(SetupSession& session);

    // Sets the labels and keeps the task.
    void SetContent(const Task* task) override;
    // The page is left, in either direction: hidden, then its texts go to the registry items of
    // the task's EditBox subtasks (SaveUserInformation).
    void OnLeft() override;

    const std::string& UserName() const { return userName_.Text(); }
    const std::string& Company() const { return company_.Text(); }

private:
    bool OnInitDialog() override;

    TrackedEdit userName_;
    TrackedEdit company_;
};

}  // namespace vesk
