// Native builds have no shell: no shortcut can be made.
#include "platform/ShellLinks.h"

namespace vesk {
namespace {

class NoShellLinks : public ShellLinks {
public:
    bool Create(const std::string&, const ShellLink&) override { return false; }
};

}  // namespace

ShellLinks& HostShellLinks() {
    static NoShellLinks links;
    return links;
}

}  // namespace vesk
