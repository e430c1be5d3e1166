// Texts from a project (ANSI code page, GB2312 in the project files) made printable on the console.
#pragma once

#include <string>

namespace vesk::tool {

// Linux terminals speak UTF-8: GB2312 bytes are converted (left as they are when they cannot be).
// On Windows the text goes out unchanged.
std::string ForConsole(const std::string& ansiText);

// Whether the console takes UTF-8 (a Linux terminal) rather than the ANSI code page (Windows).
bool ConsoleSpeaksUtf8();

}  // namespace vesk::tool
