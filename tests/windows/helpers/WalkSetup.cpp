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
//   walk_setup SETUP.EXE [SCREENSHOT_FOLDER] [--uninstall]
//
// The exit code is the setup's, or the uninstaller's when it ran and did not end with 0; 90 when
// a program cannot be started or a window does not come.
#include <windows.h>

#include <cstdio>
#include <string>

#include "GuiDriver.h"
#include "resources/ResourceIds.h"
#include "uninstaller/UninstallerIds.h"

namespace {

constexpr int kNoWindow = 90;
constexpr DWORD kPageWaitMs = 60000;  // the install itself may take a while

using namespace vesk::test;

std::string g_screens;  // the screenshot folder, "" for none
int g_shot = 0;

void Save(HWND window, const char* name) {
    if (g_screens.empty()) return;
    char file[64];
    std::snprintf(file, sizeof file, "/%02d-%s.bmp", ++g_shot, name);
    CapturePainted(window, g_screens + file);
}

BOOL CALLBACK UncheckBox(HWND child, LPARAM unchecked) {
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    const LONG type = GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK;
    if (lstrcmpiA(name, "Button") == 0 && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)) {
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

// Finish mode: Cancel is disabled while Next is not.
bool FinishShown(HWND frame) {
    return !Enabled(frame, IDC_WIZARD_CANCEL) && Enabled(frame, IDC_WIZARD_NEXT);
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

// Removes what the setup installed into `folder` through the uninstaller's window.
int Uninstall(const std::string& folder) {
    std::string command, name;
    if (!FindUninstallEntry(folder, command, name)) {
        std::fprintf(stderr, "walk_setup: no uninstall entry names %s\n", folder.c_str());
        return kNoWindow;
    }
    std::printf("uninstall: %s\n", command.c_str());
    ChildProcess uninstaller;
    if (!uninstaller.StartCommandLine(command)) {
        std::fprintf(stderr, "walk_setup: cannot start %s\n", command.c_str());
        return kNoWindow;
    }
    HWND window = WaitForTopWindow(uninstaller.Id(), "", "#32770", nullptr, kPageWaitMs);
    if (!window || !GetDlgItem(window, IDC_UNINSTALL_START)) {
        std::fprintf(stderr, "walk_setup: the uninstaller's window did not appear\n");
        return kNoWindow;
    }
    std::printf("uninstaller: %s\n", TextOf(window).c_str());
    Settle(window);
    Save(window, "uninstall");
    ClickItem(window, IDC_UNINSTALL_START);
    HWND message = WaitForMessageBox(uninstaller.Id(), window, kPageWaitMs);
    if (!message) {
        std::fprintf(stderr, "walk_setup: the uninstaller did not finish\n");
        return kNoWindow;
    }
    std::printf("message: %s\n", MessageBoxText(message).c_str());
    Save(message, "uninstalled");
    ClickItem(message, IDOK);
    WaitForWindowGone(message);
    ClickItem(window, IDC_UNINSTALL_CLOSE);
    const long code = uninstaller.WaitForExit(kPageWaitMs);
    const bool gone = GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
    std::printf("uninstalled: %s (exit code %ld); %s %s\n", name.c_str(), code,
                gone ? "removed" : "left", folder.c_str());
    return code < 0 ? kNoWindow : int(code);
}

}  // namespace

int main(int argc, char** argv) {
    bool uninstall = false;
    std::string setupPath;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--uninstall") {
            uninstall = true;
        } else if (setupPath.empty()) {
            setupPath = argument;
        } else {
            g_screens = argument;
            CreateDirectoryA(g_screens.c_str(), nullptr);
        }
    }
    if (setupPath.empty()) {
        std::fprintf(stderr, "usage: walk_setup SETUP.EXE [SCREENSHOT_FOLDER] [--uninstall]\n");
        return 2;
    }
    ChildProcess setup;
    const DWORD started = GetTickCount();
    if (!setup.Start(setupPath)) {
        std::fprintf(stderr, "walk_setup: cannot start %s\n", setupPath.c_str());
        return kNoWindow;
    }
    HWND frame = WaitForWizard(setup.Id(), kPageWaitMs);
    if (!frame) {
        long code = setup.WaitForExit(0);
        std::fprintf(stderr, "walk_setup: no wizard appeared (setup exit code %ld)\n", code);
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
            std::printf("message: %s\n", MessageBoxText(box).c_str());
            Save(box, "message");
            ClickItem(box, IDOK);
            WaitForWindowGone(box);
            continue;
        }
        HWND page = VisiblePage(frame);
        const bool progress = page && GetDlgItem(page, IDC_PROGRESS_BAR);
        if (progress && !installStart) installStart = GetTickCount();
        if (FinishShown(frame) && installStart && !installEnd) installEnd = GetTickCount();
        if (page != last && page) {
            std::printf("page: %s\n", PageName(frame, page));
            if (std::string(PageName(frame, page)) == "destination") {
                destination = ItemText(page, IDC_DESTINATION_PATH);
                std::printf("destination: %s\n", destination.c_str());
            }
            Settle(frame);
            Save(frame, PageName(frame, page));
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
    std::fprintf(stderr, "walk_setup: the setup did not end\n");
    return kNoWindow;
}
