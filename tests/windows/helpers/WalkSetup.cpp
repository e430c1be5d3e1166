// Walks a setup's wizard from outside as a user who takes every default would: starts the
// setup, accepts the licence, presses Next on every page, waits for the install and presses
// Finish (or OK on the completion message). It prints each page it passes and saves a picture
// of it. Used by the main job to run the demo under a virtual display, where nobody can click.
//
//   walk_setup SETUP.EXE [SCREENSHOT_FOLDER]
//
// The exit code is the setup's; 90 when the setup cannot be started or a window does not come.
#include <windows.h>

#include <cstdio>
#include <string>

#include "GuiDriver.h"
#include "resources/ResourceIds.h"

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
    CaptureWindow(window, g_screens + file);
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: walk_setup SETUP.EXE [SCREENSHOT_FOLDER]\n");
        return 2;
    }
    if (argc > 2) {
        g_screens = argv[2];
        CreateDirectoryA(g_screens.c_str(), nullptr);
    }
    ChildProcess setup;
    if (!setup.Start(argv[1])) {
        std::fprintf(stderr, "walk_setup: cannot start %s\n", argv[1]);
        return kNoWindow;
    }
    HWND frame = WaitForWizard(setup.Id(), kPageWaitMs);
    if (!frame) {
        long code = setup.WaitForExit(0);
        std::fprintf(stderr, "walk_setup: no wizard appeared (setup exit code %ld)\n", code);
        return code >= 0 ? int(code) : kNoWindow;
    }
    std::printf("wizard: %s\n", TextOf(frame).c_str());
    HWND last = nullptr;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 10 * kPageWaitMs) {
        long code = setup.WaitForExit(0);
        if (code >= 0) return int(code);
        if (HWND box = WaitForMessageBox(setup.Id(), frame, 0)) {
            std::printf("message: %s\n", MessageBoxText(box).c_str());
            Save(box, "message");
            ClickItem(box, IDOK);
            WaitForWindowGone(box);
            continue;
        }
        HWND page = VisiblePage(frame);
        if (page != last && page) {
            std::printf("page: %s\n", PageName(frame, page));
            Settle(frame);
            Save(frame, PageName(frame, page));
            last = page;
        }
        if (page && GetDlgItem(page, IDC_LICENCE_ACCEPT) && !Enabled(frame, IDC_WIZARD_NEXT)) {
            PressItem(page, IDC_LICENCE_ACCEPT);
        }
        if (FinishShown(frame) || (page && !GetDlgItem(page, IDC_PROGRESS_BAR))) {
            if (Enabled(frame, IDC_WIZARD_NEXT)) PressItem(frame, IDC_WIZARD_NEXT);
        }
        Sleep(100);
    }
    std::fprintf(stderr, "walk_setup: the setup did not end\n");
    return kNoWindow;
}
