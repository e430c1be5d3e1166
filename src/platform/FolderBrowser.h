// The system's folder-browse dialog (Windows build only; the disk request offers it).
#pragma once

#include <string>

namespace vesk {

// Shows the dialog without an owner window, titled `title`, offering file-system folders only,
// with `initialFolder` selected ("" starts at the shell's default). The chosen folder's path, or
// "" when the user cancels. Callable from any thread: it takes the component runtime itself.
std::string BrowseForFolder(const std::string& title, const std::string& initialFolder);

}  // namespace vesk
