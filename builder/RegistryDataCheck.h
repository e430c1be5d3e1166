// Checks a registry data file (a file of kind R) before it goes into a setup.
#pragma once

#include <string>

namespace vesk {

// The install applies such a file line by line and skips silently what it cannot use, so the
// builder refuses a file that would lose lines: every line must end with CR LF (a last line
// without it is never applied) and hold at most kLongestRegistryDataLine bytes before it (the
// install passes longer lines over); a line is empty, a key "[HKEY_...\path]" with one of the five
// root names, or a value "name"="data" after a key line. False with the 1-based line number and
// the reason in `error`.
bool CheckRegistryDataFile(const std::string& bytes, std::string& error);

}  // namespace vesk
