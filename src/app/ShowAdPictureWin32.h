// The advertising picture: a borderless window sized to its picture, centred on the screen, that
// closes itself after five seconds and cannot be closed before.
#pragma once

#include <string>

#include "ui/DialogBaseWin32.h"

namespace vesk {

class CShowAdPicture : public DialogBase {
public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kShowMs = 5000;

    explicit CShowAdPicture(std::string picturePath) : picturePath_(std::move(picturePath)) {}

    // Shows the picture modally for its time. A picture that cannot be read shows no window:
    // false, at once.
    bool DoModal();

private:
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    std::string picturePath_;
    int width_ = 0;
    int height_ = 0;
    bool closable_ = false;
};

}  // namespace vesk
