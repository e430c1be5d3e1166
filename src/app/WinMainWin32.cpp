// Entry point of the engine stub.
#include <windows.h>

#include <memory>

#include "app/SetupAppWin32.h"
#include "platform/SystemLibrariesWin32.h"
#include "platform/WideTextWin32.h"

namespace {

// The command line after the program's name, as WinMain's ANSI argument gives it: the name
// (quoted or not) and the blanks after it skipped.
std::string Arguments(const wchar_t* line) {
    if (!line) return std::string();
    if (*line == L'"') {
        ++line;
        while (*line && *line != L'"') ++line;
        if (*line) ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return vesk::Narrow(line);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything can load a library: none may come from the folder Setup.exe lies in.
    vesk::RestrictLibrarySearch();
    vesk::PreloadSystemLibraries();
    // Large buffers: on the heap, neither on the stack nor as initialised data in the file.
    const auto app = std::make_unique<vesk::SetupApp>();
    return app->Run(Arguments(GetCommandLineW()));
}
