// Fuzzes Setup.exe's command line (/S, /D=, /LOG=, /NORESTART, /?): any text parses without a
// fault; what it accepts as the install folder is a full path of names Windows can hold, which
// the destination page would commit; and the options it accepts, written out again as a command
// line, read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/SetupCommandLine.h"
#include "project/WindowsNames.h"
#include "wizard/DestinationCommit.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool SameOptions(const vesk::SetupOptions& a, const vesk::SetupOptions& b) {
    return a.silent == b.silent && a.help == b.help && a.noRestart == b.noRestart &&
           a.installDir == b.installDir && a.logPath == b.logPath;
}

}  // namespace

extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const vesk::ParsedCommandLine parsed = vesk::ParseSetupCommandLine(line);
    if (!parsed.error.empty()) return 0;
    const vesk::SetupOptions& options = parsed.options;
    if (!options.installDir.empty()) {
        std::string why;
        Check(vesk::HasDriveRoot(options.installDir));
        Check(vesk::CheckWindowsFolderNames(options.installDir.substr(3), why));
        Check(vesk::CommitPathOf(options.installDir).has_value());
    }
    // Quotation marks are dropped from every argument but the folder, which takes them as they are.
    Check(options.logPath.find('"') == std::string::npos);

    std::string again;
    if (options.silent) again += "/S ";
    if (options.help) again += "/? ";
    if (options.noRestart) again += "/NORESTART ";
    if (!options.logPath.empty()) again += "\"/LOG=" + options.logPath + "\" ";
    if (!options.installDir.empty()) again += "/D=" + options.installDir;
    vesk::SetupOptions expected = options;
    // The folder is committed again, as the destination page would (one more trailing
    // backslash of "C:\a\\" goes).
    if (!expected.installDir.empty()) expected.installDir = *vesk::CommitPathOf(options.installDir);
    const vesk::ParsedCommandLine reread = vesk::ParseSetupCommandLine(again);
    Check(reread.error.empty());
    Check(SameOptions(reread.options, expected));
    return 0;
}
