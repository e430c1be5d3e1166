// reference: the field reference on stdout.
#include <cstdio>

#include "builder/checks/FieldReference.h"
#include "builder/veskbuild/CommandTable.h"
#include "builder/veskbuild/Commands.h"

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
