// Outside control of real windows for the GUI tests, with a timeout on every wait.
#include "GuiDriver.h"

#include <cstdio>
#include <vector>

#include "platform/WideTextWin32.h"
#include "resources/ResourceIds.h"

namespace vesk::test {
namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kAnswerTimeoutMs = 2000;  // for one message sent to another thread

struct WindowQuery {
    DWORD processId;
    const std::string* title;
    const std::string* className;
    HWND other;
    HWND found;
};

constexpr char kDialogClass[] = "#32770";

std::string ClassOf(HWND window) {
    char name[256] = {};
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? std::size_t(length) : 0);
}

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<WindowQuery*>(data);
    if (window == query->other || !IsWindowVisible(window)) return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (query->processId && owner != query->processId) return TRUE;
    bool matches = query->title->empty() ? ClassOf(window) == *query->className
                                         : TextOf(window) == *query->title;
    if (!matches) return TRUE;
    query->found = window;
    return FALSE;
}

}  // namespace

bool DisplayAvailable() {
    if (GetSystemMetrics(SM_CXSCREEN) <= 0) return false;
    HWND probe = CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    if (!probe) return false;
    HDC dc = GetDC(probe);
    bool usable = dc != nullptr;
    if (dc) ReleaseDC(probe, dc);
    DestroyWindow(probe);
    return usable;
}

ChildProcess::~ChildProcess() {
    if (thread_) CloseHandle(thread_);
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, kGuiTimeoutMs);
    }
    CloseHandle(process_);
}

bool ChildProcess::Start(const std::string& path, const std::string& arguments) {
    std::string commandLine = "\"" + path + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    return Create(path.c_str(), commandLine);
}

bool ChildProcess::StartCommandLine(const std::string& commandLine) {
    return Create(nullptr, commandLine);
}

bool ChildProcess::StartSuspended(const std::string& path) {
    return Create(path.c_str(), "\"" + path + "\"", CREATE_SUSPENDED);
}

bool ChildProcess::Create(const char* program, std::string commandLine, DWORD flags) {
    // Through the W call: a command line of any script (a folder named in Cyrillic and Chinese)
    // reaches the setup whole.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const WideText wideProgram = program ? vesk::Wide(program) : WideText();
    WideText wideLine = vesk::Wide(commandLine);
    if (!CreateProcessW(program ? wideProgram.c_str() : nullptr, &wideLine[0], nullptr, nullptr,
                        FALSE, flags, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    if (flags & CREATE_SUSPENDED) {
        thread_ = info.hThread;
    } else {
        CloseHandle(info.hThread);
    }
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

bool ChildProcess::Resume() {
    if (!thread_) return false;
    const bool resumed = ResumeThread(thread_) != DWORD(-1);
    CloseHandle(thread_);
    thread_ = nullptr;
    return resumed;
}

long ChildProcess::WaitForExit(DWORD timeoutMs) {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return long(code);
}

HWND WaitForTopWindow(DWORD processId, const std::string& title, const std::string& className,
                      HWND other, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        WindowQuery query{processId, &title, &className, other, nullptr};
        EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&query));
        if (query.found) return query.found;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(kPollMs);
    }
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(kPollMs);
    }
    return true;
}

std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    // Through the W messages: the texts come back whole, in UTF-8, whatever their script.
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                             &length)) {
        return std::string();
    }
    std::vector<wchar_t> text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied)) {
        return std::string();
    }
    return vesk::Narrow(text.data(), copied < text.size() ? copied : length);
}

std::string ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? TextOf(item) : std::string();
}

bool SetItemText(HWND dialog, int id, const std::string& text) {
    HWND item = GetDlgItem(dialog, id);
    DWORD_PTR result = 0;
    return item &&
           SendMessageTimeoutW(item, WM_SETTEXT, 0,
                               reinterpret_cast<LPARAM>(vesk::Wide(text).c_str()), SMTO_ABORTIFHUNG,
                               kAnswerTimeoutMs, &result) &&
           result;
}

bool TypeIntoItem(HWND dialog, int id, const std::string& text) {
    HWND item = GetDlgItem(dialog, id);
    DWORD_PTR result = 0;
    if (!item || !SendMessageTimeoutA(item, EM_SETSEL, WPARAM(-1), -1, SMTO_ABORTIFHUNG,
                                      kAnswerTimeoutMs, &result)) {
        return false;
    }
    return SendMessageTimeoutW(item, EM_REPLACESEL, TRUE,
                               reinterpret_cast<LPARAM>(vesk::Wide(text).c_str()), SMTO_ABORTIFHUNG,
                               kAnswerTimeoutMs, &result) != 0;
}

bool ClickItem(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item && PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                reinterpret_cast<LPARAM>(item));
}

bool PressItem(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    DWORD_PTR result = 0;
    return item && SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                       reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG,
                                       kGuiTimeoutMs, &result) != 0;
}

bool PressKey(HWND window, UINT virtualKey) {
    UINT scan = MapVirtualKeyA(virtualKey, 0);
    LPARAM down = 1 | LPARAM(scan << 16);
    LPARAM up = down | (LPARAM(1) << 30) | (LPARAM(1) << 31);
    return PostMessageA(window, WM_KEYDOWN, virtualKey, down) &&
           PostMessageA(window, WM_KEYUP, virtualKey, up);
}

HWND FocusedWindow(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

HWND ActiveWindow(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndActive : nullptr;
}

bool Settle(HWND window) {
    // A sent message is handled after the messages posted before it.
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                               &result) != 0;
}

bool CaptureWindow(HWND window, const std::string& bmpPath) {
    RECT frame{};
    if (!GetWindowRect(window, &frame)) return false;
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0) return false;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, picture);
    // What the screen shows of the window; a window that cannot be reached there (another
    // desktop) is asked to draw itself instead.
    SetForegroundWindow(window);
    Settle(window);
    bool drawn = BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY) ||
                 PrintWindow(window, memory, 0);
    SelectObject(memory, previous);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD rowBytes = DWORD((width * 3 + 3) & ~3);
    header.biSizeImage = rowBytes * DWORD(height);
    std::vector<unsigned char> pixels(header.biSizeImage);
    bool read =
        drawn && GetDIBits(memory, picture, 0, UINT(height), pixels.data(),
                           reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height;
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!read) return false;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::FILE* out = std::fopen(bmpPath.c_str(), "wb");
    if (!out) return false;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                   std::fwrite(&header, sizeof header, 1, out) == 1 &&
                   std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

std::string ScreenshotPath(const std::string& name) {
    const std::string folder = VESK_SCREENSHOT_DIR;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "/" + name;
}

bool CapturePainted(HWND window, const std::string& bmpPath) {
    // A window that has just appeared may not have painted yet: paint it all now, and let its
    // thread finish what it was doing, so the picture shows what a user sees.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Settle(window);
    return CaptureWindow(window, bmpPath);
}

bool Screenshot(HWND window, const std::string& name) {
    return CapturePainted(window, ScreenshotPath(name));
}

namespace {

struct DialogQuery {
    DWORD processId;
    HWND other;
    bool (*matches)(HWND);
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<DialogQuery*>(data);
    if (window == query->other || !IsWindowVisible(window) || ClassOf(window) != kDialogClass) {
        return TRUE;
    }
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId || !query->matches(window)) return TRUE;
    query->found = window;
    return FALSE;
}

HWND WaitForDialog(DWORD processId, HWND other, bool (*matches)(HWND), DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        DialogQuery query{processId, other, matches, nullptr};
        EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&query));
        if (query.found) return query.found;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(kPollMs);
    }
}

bool IsWizardFrame(HWND window) {
    return GetDlgItem(window, IDC_WIZARD_BACK) && GetDlgItem(window, IDC_WIZARD_NEXT) &&
           GetDlgItem(window, IDC_WIZARD_UPPER_LINE);
}

bool IsMessageBox(HWND window) {
    return !IsWizardFrame(window) && (GetDlgItem(window, IDYES) || GetDlgItem(window, IDOK));
}

BOOL CALLBACK CollectText(HWND child, LPARAM data) {
    if (ClassOf(child) == "Static") {
        std::string text = TextOf(child);
        if (!text.empty()) *reinterpret_cast<std::string*>(data) += text;
    }
    return TRUE;
}

BOOL CALLBACK FindVisiblePage(HWND child, LPARAM data) {
    if (GetParent(child) != *reinterpret_cast<HWND*>(data) || !IsWindowVisible(child) ||
        ClassOf(child) != kDialogClass) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(data) = child;
    return FALSE;
}

}  // namespace

HWND WaitForWizard(DWORD processId, DWORD timeoutMs) {
    return WaitForDialog(processId, nullptr, &IsWizardFrame, timeoutMs);
}

HWND WaitForMessageBox(DWORD processId, HWND other, DWORD timeoutMs) {
    return WaitForDialog(processId, other, &IsMessageBox, timeoutMs);
}

std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&text));
    return text;
}

HWND VisiblePage(HWND frame) {
    HWND found = frame;
    EnumChildWindows(frame, &FindVisiblePage, reinterpret_cast<LPARAM>(&found));
    return found == frame ? nullptr : found;
}

bool LeaveWizard(DWORD processId) {
    HWND frame = WaitForWizard(processId);
    if (!frame || !ClickItem(frame, IDC_WIZARD_CANCEL)) return false;
    HWND question = WaitForMessageBox(processId, frame);
    return question && ClickItem(question, IDYES);
}

}  // namespace vesk::test
