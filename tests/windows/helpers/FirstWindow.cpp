// Starts a setup and measures how long it takes until its first window is on screen, so a
// benchmark compares what a user waits for before anything shows. With --wizard it also waits
// for our wizard and leaves it as a user would (Cancel, then Yes); any other setup, and ours when
// no wizard comes, is ended once its first window has shown.
//
//   first_window [--wizard] PROGRAM [ARGUMENT ...]
//
// Prints "first window: N ms (CLASS "TITLE")" and, with --wizard, "wizard: N ms". The exit code
// is 0, or 90 when the program cannot be started or shows no window within a minute.
#include <windows.h>

#include <cstdio>
#include <string>

#include "GuiDriver.h"

namespace {

constexpr DWORD kTimeoutMs = 60000;
constexpr DWORD kPollMs = 2;

struct Query {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchVisible(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<Query*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId || !IsWindowVisible(window)) return TRUE;
    RECT area{};
    GetWindowRect(window, &area);
    if (area.right - area.left <= 1 || area.bottom - area.top <= 1) return TRUE;
    query->found = window;
    return FALSE;
}

double Since(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    const bool wizard = argc > 1 && std::string(argv[1]) == "--wizard";
    if (wizard) ++first;
    if (argc <= first) {
        std::fprintf(stderr, "usage: first_window [--wizard] PROGRAM [ARGUMENT ...]\n");
        return 2;
    }
    std::string arguments;
    for (int i = first + 1; i < argc; ++i)
        arguments += (arguments.empty() ? "" : " ") + std::string(argv[i]);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    vesk::test::ChildProcess setup;
    if (!setup.Start(argv[first], arguments)) {
        std::fprintf(stderr, "first_window: cannot start %s\n", argv[first]);
        return 90;
    }
    Query query{setup.Id(), nullptr};
    while (!query.found && Since(start) < kTimeoutMs) {
        EnumWindows(&MatchVisible, reinterpret_cast<LPARAM>(&query));
        if (!query.found) Sleep(kPollMs);
    }
    if (!query.found) {
        std::fprintf(stderr, "first_window: no window within %lu ms\n", kTimeoutMs);
        return 90;
    }
    char name[64] = {};
    GetClassNameA(query.found, name, sizeof name);
    std::printf("first window: %.0f ms (%s \"%s\")\n", Since(start), name,
                vesk::test::TextOf(query.found).c_str());
    if (!wizard) return 0;  // the child is ended as this program ends
    HWND frame = vesk::test::WaitForWizard(setup.Id(), kTimeoutMs);
    if (!frame) return 90;
    std::printf("wizard: %.0f ms\n", Since(start));
    vesk::test::LeaveWizard(setup.Id());
    setup.WaitForExit(kTimeoutMs);
    return 0;
}
