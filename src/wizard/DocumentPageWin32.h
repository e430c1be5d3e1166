// What the licence and readme pages share: a document shown in the page's view area.
#pragma once

#include "wizard/DocumentViewWin32.h"
#include "wizard/WizardPageWin32.h"

namespace vesk {

class DocumentPage : public WizardPage {
public:
    // The page shows the document its task names in subtasks of `type`, under `baseName`.
    DocumentPage(SetupSession& session, int templateId, SubTaskType type, const char* baseName)
        : WizardPage(session, templateId), type_(type), baseName_(baseName) {}

    // Fills the view from the task's document (nothing when it names none).
    void SetContent(const Task* task) override;

    const DocumentView& View() const { return view_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    SubTaskType type_;
    const char* baseName_;
    DocumentView view_;
};

}  // namespace vesk
