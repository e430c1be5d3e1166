// Removals as one line of text each, for the uninstaller's tests.
#pragma once

#include <string>
#include <vector>

#include "uninstaller/UninstallPlan.h"

namespace vesk::test {

// "file C:\a", "value HKEY_LOCAL_MACHINE\SOFTWARE\A : Name", "restore ... = 1:6100", ...
std::string Described(const Removal& removal);
std::vector<std::string> Described(const UninstallPlan& plan);

}  // namespace vesk::test
