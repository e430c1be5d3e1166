// Showing the switches.
#include "app/CommandLineHelpWin32.h"

#include <windows.h>

#include "platform/WideTextWin32.h"

namespace vesk {

void ShowCommandLineHelp(const std::string& problem, const std::string& help) {
    const std::string text = problem.empty() ? help : problem + "\r\n\r\n" + help;
    MessageBoxUtf8(nullptr, text, "Setup",
                   MB_OK | (problem.empty() ? MB_ICONINFORMATION : MB_ICONERROR));
}

}  // namespace vesk
