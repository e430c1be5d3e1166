// Walks a setup's wizard from outside as a user who takes every default would: starts the
// setup, accepts the licence, presses Next on every page, waits for the install and presses
// Finish (or OK on the completion message); every box of the finish page is left unchecked, so
// no program it offers starts and nothing outlives the setup. It prints each page it passes, the
// destination, where the product was installed and how long the setup worked (start-up until the
// wizard, the install from the progress page to its end, and the end until the process is gone:
// everything but the walk through the pages), and saves a picture of every page. Used by the main
// job to run the demo under a virtual display, where nobody can click, and by the install
// benchmark. With --uninstall it then removes the product again as a user would from the list of
// installed programs: it runs the uninstall entry that names the install folder, presses Uninstall
// in the uninstaller's window and OK on its final message, and closes it.
//
//   walk_setup SETUP.EXE [SCREENSHOT_FOLDER] [--uninstall] [--silent] [--account FILE]
//   walk_setup --uninstall-entry NAME [SCREENSHOT_FOLDER] [--links LIST] [--silent]
//              [--account FILE]
//   walk_setup --idle
//
// `veskbuild try` runs it twice, reading the machine in between: once to install, once to remove
// the product through the uninstall entry NAME (the entry's key below Uninstall). --silent runs
// the setup with /S and the entry's QuietUninstallString instead of the windows, and takes a
// picture of any window that appears all the same. --links reads each shortcut named in LIST
// (UTF-8, one path a line) through the shell's link service before the product goes. --account
// writes what the walk saw to FILE (trial/WalkAccountFormat.h). Pictures are numbered on from
// those already in the folder: NN-<page>.bmp. --idle shows a window for a moment and ends: the
// run that installs nothing, from which `veskbuild try` learns what Wine changes by itself.
//
// The exit code is the setup's, or the uninstaller's when it ran and did not end with 0; 90 when
// a program cannot be started or a window does not come.
#include <windows.h>

#include <cstdio>
#include <string>

#include "GuiDriver.h"
#include "ShellLinkReading.h"
#include "WalkAccount.h"
#include "builder/trial/WalkAccountFormat.h"
#include "platform/ComPointerWin32.h"
#include "resources/ResourceIds.h"
#include "uninstaller/UninstallerIds.h"

namespace {

constexpr int kNoWindow = 90;
constexpr DWORD kPageWaitMs = 60000;  // the install itself may take a while

using namespace vesk::test;
namespace account = vesk::trial::account;

std::string g_screens;  // the screenshot folder, "" for none
int g_shot = 0;
WalkAccount g_account;

// The number of the last picture already in the folder ("07-finish.bmp" or .png: 7).
int LastPictureNumber(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int last = 0;
    do {
        const char* name = found.cFileName;
        if (name[0] >= '0' && name[0] <= '9' && name[1] >= '0' && name[1] <= '9' &&
            name[2] == '-') {
            const int number = (name[0] - '0') * 10 + (name[1] - '0');
            if (number > last) last = number;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return last;
}

std::string FileBytes(const std::string& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char block[65536];
        for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;)
            bytes.append(block, n);
        std::fclose(file);
    }
    return bytes;
}

// Saves a picture of `window` as NN-<name>.bmp, blanks in the name made dashes; the file's name,
// "" when there is no folder or the picture could not be taken. The picture is taken again until
// two in a row agree (a few times at most): what another process has just drawn may not have
// reached the screen yet, and a window that changes on its own (a progress bar) never settles.
std::string Save(HWND window, const char* name) {
    constexpr int kTries = 5;
    constexpr DWORD kBetweenMs = 150;
    if (g_screens.empty()) return std::string();
    std::string file = name;
    for (char& c : file) {
        if (c == ' ') c = '-';
    }
    char number[8];
    std::snprintf(number, sizeof number, "%02d-", ++g_shot);
    file = number + file + ".bmp";
    const std::string path = g_screens + "/" + file;
    if (!CapturePainted(window, path)) return std::string();
    std::string last = FileBytes(path);
    for (int i = 1; i < kTries; ++i) {
        Sleep(kBetweenMs);
        if (!CaptureWindow(window, path)) break;
        std::string now = FileBytes(path);
        if (now == last) break;
        last.swap(now);
    }
    return file;
}

BOOL CALLBACK UncheckBox(HWND child, LPARAM unchecked) {
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    const LONG type = GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK;
    if (lstrcmpiA(name, "Button") == 0 && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ||
                                           type == BS_3STATE || type == BS_AUTO3STATE)) {
        SendMessageA(child, BM_SETCHECK, BST_UNCHECKED, 0);
        if (SendMessageA(child, BM_GETCHECK, 0, 0) == BST_UNCHECKED) {
            ++*reinterpret_cast<int*>(unchecked);
        }
    }
    return TRUE;
}

// Unchecks every box of the finish page: a box carries its RunApp subtask's ID (or the restart
// box's), so the boxes are found by what they are, not by a range of IDs.
void LeaveProgramsUnstarted(HWND page) {
    int unchecked = 0;
    EnumChildWindows(page, &UncheckBox, reinterpret_cast<LPARAM>(&unchecked));
    std::printf("finish: %d box%s left unchecked\n", unchecked, unchecked == 1 ? "" : "es");
}

bool Enabled(HWND frame, int id) {
    return IsWindowEnabled(GetDlgItem(frame, id)) != FALSE;
}

// Finish mode: Cancel is disabled while Next is not, and the progress page has gone (the frame
// readies Next just before it swaps the pages, while Cancel may already be disabled).
bool FinishShown(HWND frame) {
    const HWND page = VisiblePage(frame);
    return page && !GetDlgItem(page, IDC_PROGRESS_BAR) && !Enabled(frame, IDC_WIZARD_CANCEL) &&
           Enabled(frame, IDC_WIZARD_NEXT);
}

const char* PageName(HWND frame, HWND page) {
    if (!page) return "no page";
    if (FinishShown(frame)) return "finish";
    if (GetDlgItem(page, IDC_LICENCE_ACCEPT)) return "licence";
    if (GetDlgItem(page, IDC_DOCUMENT_VIEW)) return "readme";
    if (GetDlgItem(page, IDC_USER_NAME)) return "user information";
    if (GetDlgItem(page, IDC_PROGRAM_FOLDER_NAME)) return "program folder";
    if (GetDlgItem(page, IDC_DESTINATION_PATH)) return "destination";
    if (GetDlgItem(page, IDC_PROGRESS_BAR)) return "progress";
    return "welcome";
}

// The uninstall entries' key, under HKEY_LOCAL_MACHINE.
constexpr char kUninstallEntries[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string ReadValue(HKEY key, const char* name) {
    char text[2048] = {};
    DWORD size = sizeof text - 1, type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
        ERROR_SUCCESS) {
        return std::string();
    }
    return text;
}

// The uninstall command of the entry whose log lies in `folder`, and the entry's name; false when
// no entry names it.
bool FindUninstallEntry(const std::string& folder, std::string& command, std::string& name) {
    HKEY entries = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallEntries, 0, KEY_READ, &entries) !=
        ERROR_SUCCESS) {
        return false;
    }
    const std::string log = "\"" + folder + "\\VeskInstall ";
    bool found = false;
    char sub[256];
    for (DWORD i = 0; !found && RegEnumKeyA(entries, i, sub, sizeof sub) == ERROR_SUCCESS; ++i) {
        HKEY entry = nullptr;
        if (RegOpenKeyExA(entries, sub, 0, KEY_READ, &entry) != ERROR_SUCCESS) continue;
        command = ReadValue(entry, "UninstallString");
        name = ReadValue(entry, "DisplayName");
        found = command.find(log) != std::string::npos;
        RegCloseKey(entry);
    }
    RegCloseKey(entries);
    return found;
}

// Says why the walk cannot go on, on stderr and in the account; returns kNoWindow.
int Failure(const std::string& why) {
    std::fprintf(stderr, "walk_setup: %s\n", why.c_str());
    g_account.Write(account::kFailure, {AnsiToUtf8(why)});
    return kNoWindow;
}

// Notes a message box of the walk, takes its picture and answers it with its default (OK, or
// Yes for a question), waiting until it has gone.
void AnswerMessage(HWND box, const char* pictureName) {
    const std::string text = MessageBoxText(box);
    std::printf("message: %s\n", text.c_str());
    const std::string picture = Save(box, pictureName);
    g_account.Write(account::kMessage, {picture, AnsiToUtf8(text)});
    ClickItem(box, GetDlgItem(box, IDOK) ? IDOK : IDYES);
    WaitForWindowGone(box);
}

struct TopWindows {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindTopWindow(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<TopWindows*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId || !IsWindowVisible(window)) return TRUE;
    query->found = window;
    return FALSE;
}

// Waits for a program that should show no window: a window that appears all the same is
// pictured and noted, and one that stays (waiting for a click nobody gives) ends the wait. The
// exit code; -1 when the program did not end.
long WaitUnattended(ChildProcess& program, const char* name) {
    constexpr DWORD kWindowGraceMs = 10000;
    HWND seen = nullptr;
    DWORD seenAt = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 10 * kPageWaitMs) {
        const long code = program.WaitForExit(100);
        if (code >= 0) return code;
        TopWindows query{program.Id(), nullptr};
        EnumWindows(&FindTopWindow, reinterpret_cast<LPARAM>(&query));
        if (query.found && query.found != seen) {
            seen = query.found;
            seenAt = GetTickCount();
            const std::string title = TextOf(seen);
            std::printf("window: %s\n", title.c_str());
            g_account.Write(account::kWindow, {Save(seen, name), AnsiToUtf8(title)});
        } else if (query.found && GetTickCount() - seenAt > kWindowGraceMs) {
            Failure(std::string(name) + " shows a window that waits for an answer");
            return -1;
        }
    }
    return -1;
}

// Removes what the setup installed into `folder` with the uninstall entry's `command`: through
// the uninstaller's window, or with `silent` (the QuietUninstallString) without one.
int RunUninstaller(const std::string& command, const std::string& name, const std::string& folder,
                   bool silent) {
    std::printf("uninstall: %s\n", command.c_str());
    g_account.Write(account::kUninstall, {AnsiToUtf8(command), AnsiToUtf8(name)});
    ChildProcess uninstaller;
    if (!uninstaller.StartCommandLine(command)) return Failure("cannot start " + command);
    long code = -1;
    if (silent) {
        code = WaitUnattended(uninstaller, "uninstaller");
    } else {
        HWND window = WaitForTopWindow(uninstaller.Id(), "", "#32770", nullptr, kPageWaitMs);
        if (!window || !GetDlgItem(window, IDC_UNINSTALL_START)) {
            return Failure("the uninstaller's window did not appear");
        }
        std::printf("uninstaller: %s\n", TextOf(window).c_str());
        Settle(window);
        g_account.Write(account::kPage, {Save(window, "uninstall"), "uninstall"});
        ClickItem(window, IDC_UNINSTALL_START);
        HWND message = WaitForMessageBox(uninstaller.Id(), window, kPageWaitMs);
        if (!message) return Failure("the uninstaller did not finish");
        AnswerMessage(message, "uninstalled");
        ClickItem(window, IDC_UNINSTALL_CLOSE);
        code = uninstaller.WaitForExit(kPageWaitMs);
    }
    g_account.Write(account::kUninstallerExit, {std::to_string(code)});
    const bool gone = GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
    std::printf("uninstalled: %s (exit code %ld); %s %s\n", name.c_str(), code,
                gone ? "removed" : "left", folder.c_str());
    return code < 0 ? kNoWindow : int(code);
}

// Removes what the setup installed into `folder` through the uninstaller's window.
int Uninstall(const std::string& folder) {
    std::string command, name;
    if (!FindUninstallEntry(folder, command, name)) {
        return Failure("no uninstall entry names " + folder);
    }
    return RunUninstaller(command, name, folder, false);
}

// Removes the product of the uninstall entry `entry` (its key's name).
int UninstallEntry(const std::string& entry, bool silent) {
    HKEY key = nullptr;
    const std::string path = std::string(kUninstallEntries) + "\\" + entry;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return Failure("there is no uninstall entry " + entry);
    }
    const std::string command = ReadValue(key, silent ? "QuietUninstallString" : "UninstallString");
    const std::string name = ReadValue(key, "DisplayName");
    const std::string folder = ReadValue(key, "InstallLocation");
    RegCloseKey(key);
    if (command.empty()) {
        return Failure(std::string("the uninstall entry ") + entry + " has no " +
                       (silent ? "QuietUninstallString" : "UninstallString"));
    }
    return RunUninstaller(command, name, folder, silent);
}

// Reads every shortcut LIST names (UTF-8, one path a line) through the link service, into the
// account.
void ReadLinks(const std::string& list) {
    std::FILE* file = _wfopen(Utf8ToWide(list).c_str(), L"rb");
    if (!file) {
        Failure("cannot read the list of shortcuts " + list);
        return;
    }
    vesk::ComRuntime com;
    char line[4096];
    while (std::fgets(line, sizeof line, file)) {
        std::string path = line;
        while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
        if (path.empty()) continue;
        ShellLinkFields fields;
        std::string why;
        if (ReadShellLink(path, fields, why)) {
            g_account.Write(account::kLink, {path, fields.target, fields.arguments, fields.folder,
                                             fields.icon, fields.description});
        } else {
            g_account.Write(account::kLinkUnread, {path, why});
        }
    }
    std::fclose(file);
}

// Shows a window with a text and a button for a moment, as a setup would, and ends.
int Idle() {
    constexpr DWORD kShownMs = 500;
    HWND window = CreateWindowExA(0, "STATIC", "walk_setup", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  320, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) return Failure("cannot show a window");
    CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24,
                    window, nullptr, GetModuleHandleA(nullptr), nullptr);
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < kShownMs) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
    DestroyWindow(window);
    return 0;
}

// Runs the setup with /S; its exit code, or kNoWindow when it cannot start or does not end.
int InstallUnattended(const std::string& setupPath) {
    ChildProcess setup;
    if (!setup.Start(setupPath, "/S")) return Failure("cannot start " + setupPath);
    const long code = WaitUnattended(setup, "setup");
    g_account.Write(account::kSetupExit, {std::to_string(code)});
    return code < 0 ? kNoWindow : int(code);
}

}  // namespace

int main(int argc, char** argv) {
    bool uninstall = false, silent = false;
    std::string setupPath, entry, links, accountPath;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool valueFollows = i + 1 < argc;
        if (argument == "--idle") {
            return Idle();
        } else if (argument == "--uninstall") {
            uninstall = true;
        } else if (argument == "--silent") {
            silent = true;
        } else if (argument == "--uninstall-entry" && valueFollows) {
            entry = argv[++i];
        } else if (argument == "--links" && valueFollows) {
            links = argv[++i];
        } else if (argument == "--account" && valueFollows) {
            accountPath = argv[++i];
        } else if (setupPath.empty() && entry.empty()) {
            setupPath = argument;
        } else {
            g_screens = argument;
            CreateDirectoryA(g_screens.c_str(), nullptr);
            g_shot = LastPictureNumber(g_screens);
        }
    }
    if (setupPath.empty() && entry.empty()) {
        std::fprintf(stderr,
                     "usage: walk_setup SETUP.EXE [SCREENSHOT_FOLDER] [--uninstall] [--silent] "
                     "[--account FILE]\n"
                     "       walk_setup --uninstall-entry NAME [SCREENSHOT_FOLDER] [--links LIST] "
                     "[--silent] [--account FILE]\n"
                     "       walk_setup --idle\n");
        return 2;
    }
    if (!accountPath.empty() && !g_account.Open(accountPath)) {
        std::fprintf(stderr, "walk_setup: cannot write %s\n", accountPath.c_str());
        return 2;
    }
    if (!entry.empty()) {
        if (!links.empty()) ReadLinks(links);
        return UninstallEntry(entry, silent);
    }
    if (silent) return InstallUnattended(setupPath);
    ChildProcess setup;
    const DWORD started = GetTickCount();
    if (!setup.Start(setupPath)) return Failure("cannot start " + setupPath);
    HWND frame = WaitForWizard(setup.Id(), kPageWaitMs);
    if (!frame) {
        long code = setup.WaitForExit(0);
        if (code >= 0) g_account.Write(account::kSetupExit, {std::to_string(code)});
        Failure("no wizard appeared (setup exit code " + std::to_string(code) + ")");
        return code >= 0 ? int(code) : kNoWindow;
    }
    const DWORD wizardShown = GetTickCount();
    std::printf("wizard: %s\n", TextOf(frame).c_str());
    std::string destination;
    DWORD installStart = 0, installEnd = 0;
    bool finishPressed = false;
    bool fileShown = false;
    HWND last = nullptr;
    while (GetTickCount() - wizardShown < 10 * kPageWaitMs) {
        long code = setup.WaitForExit(0);
        if (code >= 0) {
            const DWORD end = GetTickCount();
            g_account.Write(account::kSetupExit, {std::to_string(code)});
            if (code == 0 && !destination.empty()) {
                std::printf("installed into: %s\n", destination.c_str());
            }
            if (installStart && installEnd) {
                std::printf(
                    "setup worked: %lu ms (start-up %lu, install %lu, end %lu)\n",
                    (wizardShown - started) + (installEnd - installStart) + (end - installEnd),
                    wizardShown - started, installEnd - installStart, end - installEnd);
            }
            if (code == 0 && uninstall && !destination.empty()) return Uninstall(destination);
            return int(code);
        }
        if (HWND box = WaitForMessageBox(setup.Id(), frame, 0)) {
            if (installStart && !installEnd) installEnd = GetTickCount();
            AnswerMessage(box, "message");
            continue;
        }
        HWND page = VisiblePage(frame);
        const bool progress = page && GetDlgItem(page, IDC_PROGRESS_BAR);
        if (progress && !installStart) installStart = GetTickCount();
        if (FinishShown(frame) && installStart && !installEnd) installEnd = GetTickCount();
        if (page != last && page) {
            // Named once: pressing Finish below changes what the buttons say.
            const std::string name = PageName(frame, page);
            std::printf("page: %s\n", name.c_str());
            if (name == "destination") {
                destination = ItemText(page, IDC_DESTINATION_PATH);
                std::printf("destination: %s\n", destination.c_str());
                g_account.Write(account::kDestination, {AnsiToUtf8(destination)});
            }
            Settle(frame);
            const std::string picture = Save(frame, name.c_str());
            g_account.Write(account::kPage, {picture, name});
            last = page;
        }
        // The progress page once more when it names a file being written (only for pictures: the
        // times printed stay the setup's own).
        if (progress && !fileShown && !g_screens.empty() &&
            !ItemText(page, IDC_PROGRESS_ITEM).empty()) {
            Save(frame, "progress-file");
            fileShown = true;
        }
        if (page && GetDlgItem(page, IDC_LICENCE_ACCEPT) && !Enabled(frame, IDC_WIZARD_NEXT)) {
            PressItem(page, IDC_LICENCE_ACCEPT);
        }
        if (FinishShown(frame)) {
            // Once: every press of Finish starts the wizard's close timer afresh.
            if (!finishPressed && page) {
                LeaveProgramsUnstarted(page);
                finishPressed = PressItem(frame, IDC_WIZARD_NEXT);
            }
        } else if (page && !progress && Enabled(frame, IDC_WIZARD_NEXT)) {
            PressItem(frame, IDC_WIZARD_NEXT);
        }
        // Closely while the setup works on its own, so the times it prints are its own.
        Sleep(progress || installEnd ? 5 : 100);
    }
    return Failure("the setup did not end");
}
