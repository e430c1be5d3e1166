// reference: the field reference on stdout.
#include <cstdio>

#include "CommandTable.h"
#include "Commands.h"
#include "FieldReference.h"

namespace vesk::tool {

int ReferenceCommand(const Arguments& args) {
    CommandLine line;
    int exitCode = kExitSuccess;
    if (!ParseCommandLine("reference", args, line, exitCode)) return exitCode;
    if (!line.Operands().empty()) return UsageError("reference", "takes no operands");
    const std::string text = FieldReferenceText();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitSuccess;
}

}  // namespace vesk::tool
