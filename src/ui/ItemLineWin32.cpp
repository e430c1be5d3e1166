// The paced item line.
#include "ui/ItemLineWin32.h"

#include "platform/WideTextWin32.h"

namespace vesk {

void ItemLine::Start(HWND control, UINT_PTR timerId) {
    control_ = control;
    timer_ = timerId;
    if (control_) SetTimer(GetParent(control_), timer_, kIntervalMs, nullptr);
}

void ItemLine::Stop() {
    if (control_) KillTimer(GetParent(control_), timer_);
    control_ = nullptr;
    LockGuard guard(lock_);
    changed_ = false;
}

void ItemLine::Set(const std::string& text) {
    LockGuard guard(lock_);
    if (text == text_) return;
    text_ = text;
    changed_ = true;
}

bool ItemLine::OnTimer(UINT_PTR timerId) {
    if (timerId != timer_ || !control_) return false;
    std::string text;
    {
        LockGuard guard(lock_);
        if (!changed_) return true;
        text = text_;
        changed_ = false;
    }
    SetWindowTextW(control_, Wide(text).c_str());
    return true;
}

}  // namespace vesk
