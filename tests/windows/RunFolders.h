// What the real engine leaves in the temporary folder while it runs: the run's own folder
// ("~VeskInstall-<stamp>-<random>") and the files in it.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace vesk::test {

// The system's temporary folder, without its trailing backslash.
std::string TempFolder();

// The names of everything directly in the temporary folder, files and folders.
std::set<std::string> TempFolderEntries();

// The full paths of the run folders in the temporary folder.
std::vector<std::string> RunFolders();

// The full paths of the files in any run folder whose names end in `suffix`.
std::vector<std::string> RunFilesEndingIn(const std::string& suffix);

}  // namespace vesk::test
