// Drives real windows from outside, as a user would: start a program, wait for its windows, read
// and set control texts, press buttons, and save a picture of a window.
#pragma once

#include <windows.h>

#include <string>

namespace vesk::test {

// How long any wait for a window or a process lasts before the test gives up.
constexpr DWORD kGuiTimeoutMs = 10000;

// True when windows can be created and shown (a display is there); tests skip otherwise.
bool DisplayAvailable();

// A started program; killed when it is still running when this object goes.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the program named by `path`; its command line is the quoted path, then a blank
    // and `arguments` when there are any.
    bool Start(const std::string& path, const std::string& arguments = "");
    // Runs a whole command line: the program's path (quoted when it holds blanks) and its
    // arguments, as the system's uninstall list runs an entry.
    bool StartCommandLine(const std::string& commandLine);
    // The same for a program that waits before its first instruction until Resume.
    bool StartSuspended(const std::string& path);
    bool Resume();
    // The exit code, or -1 when the process did not end within `timeoutMs`.
    long WaitForExit(DWORD timeoutMs = kGuiTimeoutMs);
    DWORD Id() const { return id_; }

private:
    bool Create(const char* program, std::string commandLine, DWORD flags = 0);

    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;  // held while suspended
    DWORD id_ = 0;
};

// Waits for a visible top-level window of process `processId` (any process when 0) whose title
// equals `title`, or whose class equals `className` when `title` is empty. A window equal to
// `other` is passed over, so a test can wait for a dialog shown afresh. Null on timeout.
HWND WaitForTopWindow(DWORD processId, const std::string& title, const std::string& className = "",
                      HWND other = nullptr, DWORD timeoutMs = kGuiTimeoutMs);

// Waits until `window` is destroyed; false on timeout.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kGuiTimeoutMs);

// The text of a window or control (WM_GETTEXT), "" when it does not answer in time.
std::string TextOf(HWND window);
std::string ItemText(HWND dialog, int id);

// Replaces the text of control `id` with WM_SETTEXT (the control reports the change as typing
// would); false when the control is missing or does not answer.
bool SetItemText(HWND dialog, int id, const std::string& text);
// Puts the focus at the end of an edit's text and inserts `text` there (EM_REPLACESEL).
bool TypeIntoItem(HWND dialog, int id, const std::string& text);

// Presses button `id` the way its owner sees a click (WM_COMMAND with BN_CLICKED), posted so the
// test never waits on the owner's handler.
bool ClickItem(HWND dialog, int id);
// Presses button `id` and returns once its owner has handled the click (sent, with a timeout):
// for buttons whose handler does not wait for the user.
bool PressItem(HWND dialog, int id);
// Posts a key press (down and up) to `window`, as the keyboard would deliver it.
bool PressKey(HWND window, UINT virtualKey);

// The control that has the keyboard focus in the thread owning `window`.
HWND FocusedWindow(HWND window);
// The active top-level window of the thread owning `window`.
HWND ActiveWindow(HWND window);

// Waits until every posted message has been handled by the thread owning `window`.
bool Settle(HWND window);

// Saves the picture of `window` as a 24-bit BMP file; false when it cannot be captured.
bool CaptureWindow(HWND window, const std::string& bmpPath);
// CaptureWindow once the window has painted all of itself (a window that has just appeared
// may not have).
bool CapturePainted(HWND window, const std::string& bmpPath);

// The folder the GUI tests save their screenshots in (made when missing) + `name`.
std::string ScreenshotPath(const std::string& name);
// CapturePainted into the screenshots folder.
bool Screenshot(HWND window, const std::string& name);

// Waits for the wizard frame of the process: a visible dialog with the Back, Next and Cancel
// buttons of the wizard. Null on timeout.
HWND WaitForWizard(DWORD processId, DWORD timeoutMs = kGuiTimeoutMs);
// Waits for a message box of the process other than `other`: a visible dialog with a Yes or an
// OK button. Null on timeout.
HWND WaitForMessageBox(DWORD processId, HWND other, DWORD timeoutMs = kGuiTimeoutMs);
// The text a message box shows.
std::string MessageBoxText(HWND box);
// The page of `frame` that is shown now: its visible child dialog; null when none is.
HWND VisiblePage(HWND frame);
// Leaves the wizard as a user would before the install: Cancel, then Yes on the exit question.
// False when a window did not appear.
bool LeaveWizard(DWORD processId);

}  // namespace vesk::test
