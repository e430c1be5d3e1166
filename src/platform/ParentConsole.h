// Writing to the console of the program that started this one, for a program without a window
// of its own that must not wait for a click (Setup.exe /S, Vesk-UnInstall.exe /S).
#pragma once

#include <string>

namespace vesk {

// Writes `text` to the console of the parent process, when it has one; false when there is none
// or it cannot be written to.
bool WriteToParentConsole(const std::string& text);

}  // namespace vesk
