// list PROJECT: what a build of the project would pack, and with --verbose what it leaves out,
// without building.
#include <cctype>
#include <cstdio>

#include "builder/SetupBuilder.h"
#include "builder/veskbuild/CommandTable.h"
#include "builder/veskbuild/Commands.h"
#include "builder/veskbuild/TerminalText.h"

namespace vesk::tool {

bool NamesProject(const Arguments& args) {
    for (const std::string& arg : args) {
        if (arg.size() < 4 || arg[0] == '-') continue;
        std::string end = arg.substr(arg.size() - 4);
        for (char& c : end) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (end == ".xml") return true;
    }
    return false;
}

int ListProjectCommand(const Arguments& args) {
    CommandLine line;
    int exitCode = kExitSuccess;
    if (!ParseCommandLine("list", args, line, exitCode)) return exitCode;
    if (line.Operands().size() != 1) return UsageError("list", "give one setup or project");
    BuildOptions options;
    options.projectPath = line.Operands()[0];
    options.checkOnly = true;  // the plan (BuildSummary::planned, excluded), nothing written
    SetupBuilder builder;
    bool planned = builder.Build(options);
    for (const std::string& warning : builder.Summary().warnings) Warning(warning);
    if (!planned) return Failure(builder.LastError());
    const BuildSummary& summary = builder.Summary();
    std::printf("Files:           %zu\n", summary.planned.size());
    std::printf("  %4s %10s  %s\n", "kind", "size", "path");
    for (const PlannedFile& file : summary.planned) {
        std::printf("  %4c %10llu  %s\n", file.kind, static_cast<unsigned long long>(file.size),
                    ForTerminal(file.target).c_str());
    }
    const bool verbose = line.Has("--verbose");
    std::printf("Left out:        %zu%s\n", summary.excluded.size(),
                summary.excluded.empty() || verbose ? "" : " (--verbose names them)");
    if (verbose) {
        for (const ExcludedSource& left : summary.excluded) {
            std::printf("  %s: %s\n", ForTerminal(left.hostPath).c_str(), left.reason.c_str());
        }
    }
    return kExitSuccess;
}

}  // namespace vesk::tool
