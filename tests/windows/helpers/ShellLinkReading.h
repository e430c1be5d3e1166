// Reads shortcuts (.lnk) through the shell's link service, as Explorer resolves them.
#pragma once

#include <string>

namespace vesk::test {

struct ShellLinkFields {
    std::string target;  // all UTF-8
    std::string arguments;
    std::string folder;  // the working folder
    std::string icon;    // "path,index", or "" when the link names none
    std::string description;
};

// The fields of the link at `path` (UTF-8); false with the reason when the service cannot load
// it. COM must be initialised on the calling thread.
bool ReadShellLink(const std::string& path, ShellLinkFields& fields, std::string& why);

}  // namespace vesk::test
