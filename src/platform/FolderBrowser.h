// The system's folder-browse dialog (Windows build only; the disk request offers it).
#pragma once

#include <string>

namespace vesk {

// The folder the next browse dialog starts at ("" starts at the shell's default).
void SetBrowseInitialFolder(const std::string& folder);
std::string BrowseInitialFolder();

// Shows the dialog without an owner window, titled `title`, offering file-system folders only,
// with the initial folder selected. The chosen folder's path, or "" when the user cancels.
std::string BrowseForFolder(const std::string& title);

}  // namespace vesk
