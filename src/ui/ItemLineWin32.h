// A line of a window that another thread changes often (the file being written, the item being
// removed), shown at most every 50 ms so the thread never waits for the window.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Lock.h"

namespace vesk {

// The working thread only leaves the newest text here (Set, which returns at once); a timer of
// the window that owns the control shows it (OnTimer). Lives as long as that window.
class ItemLine {
public:
    static constexpr UINT kIntervalMs = 50;

    ItemLine() = default;
    ItemLine(const ItemLine&) = delete;
    ItemLine& operator=(const ItemLine&) = delete;

    // Shows the texts on `control` from now on, by timer `timerId` of the control's parent.
    void Start(HWND control, UINT_PTR timerId);
    // No more texts are shown; a text set but not yet shown is dropped.
    void Stop();
    // Any thread: the text to show next.
    void Set(const std::string& text);
    // The parent's WM_TIMER with `timerId`: shows the newest text when it changed. True when the
    // timer was this line's.
    bool OnTimer(UINT_PTR timerId);

private:
    Lock lock_;
    std::string text_;
    bool changed_ = false;
    HWND control_ = nullptr;
    UINT_PTR timer_ = 0;
};

}  // namespace vesk
