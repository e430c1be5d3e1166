// Shortcut files through the shell's link service.
#pragma once

#include <string>

namespace vesk {

// What a shortcut file holds. Empty arguments and an empty icon are left unset, so the target's
// own icon shows.
struct ShellLink {
    std::string target;
    std::string arguments;
    std::string workingFolder;
    std::string description;
    std::string iconPath;  // shown with index 0
    int show = 1;          // window show state the target starts with (normal)
};

class ShellLinks {
public:
    virtual ~ShellLinks() = default;

    // Saves the link as the file `linkPath`, replacing a file of that name. The component
    // runtime is made ready for the calling thread for the duration of the call. False when the
    // service cannot be reached or the file cannot be written.
    virtual bool Create(const std::string& linkPath, const ShellLink& link) = 0;
};

// The running system's shell (natively: no links can be made).
ShellLinks& HostShellLinks();

}  // namespace vesk
