// The licence agreement page.
#pragma once

#include "wizard/DocumentPageWin32.h"

namespace vesk {

// The licence agreement page: the document, and Accept and Reject; only Accept lets the user on.
class CReadSoftLicense : public DocumentPage {
public:
    explicit CReadSoftLicense(SetupSession& session);

    void SetContent(const Task* task) override;
    // Checks the button that matches the acceptance so far, then shows the page.
    void Show() override;

private:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void SetAccepted(bool accepted);
};

}  // namespace vesk
