// Where the keyboard focus goes when a wizard page is shown, and how it is moved there.
#pragma once

#include <windows.h>

namespace vesk {

// The control of `page` that takes the focus when the page is shown: the first, in tab order,
// that is visible, enabled and a tab stop. Of a group of radio buttons it is the checked one
// (a radio button that gains the focus unchecked clicks itself) and none when none is checked;
// a control that takes every key for itself (a multi-line text, a hosted browser) is passed
// over, so Tab and Escape keep working. Null when the page has no such control.
HWND FirstFocusControl(HWND page);

// Moves the focus of `dialog` to `control` as the dialog manager does (WM_NEXTDLGCTL), without
// making a push button the default: Enter keeps doing what it did.
void MoveFocus(HWND dialog, HWND control);

}  // namespace vesk
