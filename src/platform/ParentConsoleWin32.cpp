// The parent's console through AttachConsole: a GUI program has none of its own.
#include <windows.h>

#include "platform/HandleWin32.h"
#include "platform/ParentConsole.h"

namespace vesk {

bool WriteToParentConsole(const std::string& text) {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    bool written = false;
    {
        FileHandle console(CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        DWORD done = 0;
        // The prompt the console printed before the program ended its line: start a new one.
        const std::string lines = "\r\n" + text + "\r\n";
        written = console &&
                  WriteFile(console.get(), lines.data(), DWORD(lines.size()), &done, nullptr) &&
                  done == lines.size();
    }
    FreeConsole();
    return written;
}

}  // namespace vesk
