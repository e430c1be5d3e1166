// The first wizard page: the welcome picture, a near-white panel and four lines of welcome.
#pragma once

#include "platform/GdiObjectWin32.h"
#include "wizard/WizardPageWin32.h"

namespace vesk {

// Covers the whole page area including the header band. Its texts and picture are fixed: it
// reads nothing of its task.
class WelcomePage : public WizardPage {
public:
    explicit WelcomePage(SetupSession& session);

    // Where the picture is drawn from: the start-up file of the welcome page.
    const std::string& PicturePath() const { return picturePath_; }

private:
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void Paint(HDC dc);

    std::string picturePath_;
    GdiObject<HFONT> headingFont_;
    GdiObject<HPEN> panelPen_;
    GdiObject<HBRUSH> panelBrush_;
};

}  // namespace vesk
