// try needs Wine and a virtual display: it is a command of the Linux tool. Its help and its
// options are the same here, so a script learns that from the message, not from a bad option.
#include "builder/veskbuild/CommandTable.h"
#include "builder/veskbuild/Commands.h"

namespace vesk::tool {

int TryCommand(const Arguments& args) {
    CommandLine line;
    int exitCode = kExitSuccess;
    if (!ParseCommandLine("try", args, line, exitCode)) return exitCode;
    return UsageError("try",
                      "try runs on Linux, where it installs the setup under Wine; on "
                      "Windows run the setup itself");
}

}  // namespace vesk::tool
