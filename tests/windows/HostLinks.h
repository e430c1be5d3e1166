// Symbolic links for the tests that plant them: under Wine links of the host's file system, made
// and removed by the host's own programs; elsewhere links of the system.
#pragma once

#include <string>

namespace vesk::test {

// Whether the tests run under Wine.
bool UnderWine();

// Makes `link` a symbolic link to the existing `target` (a folder when `folder`). False when it
// cannot be made.
bool MakeLink(const std::string& target, const std::string& link, bool folder);

// Removes a folder that may hold links: under Wine through the host's rm, as Wine would remove
// what a link leads to; elsewhere the test folder's own removal does it.
void RemoveLinksFolder(const std::string& folder);

}  // namespace vesk::test
