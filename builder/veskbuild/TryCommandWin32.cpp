// try needs Wine and a virtual display: it is a command of the Linux tool.
#include "Commands.h"

namespace vesk::tool {

int TryCommand(const Arguments&) {
    return UsageError("try",
                      "try runs on Linux, where it installs the setup under Wine; on "
                      "Windows run the setup itself");
}

}  // namespace vesk::tool
