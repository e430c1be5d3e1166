// list PROJECT: what a build of the project would pack, and with --verbose what it leaves out,
// without building.
#include <cctype>
#include <cstdio>

#include "Commands.h"
#include "SetupBuilder.h"

namespace vesk::tool {

bool NamesProject(const Arguments& args) {
    for (const std::string& arg : args) {
        if (arg.size() < 4) continue;
        std::string end = arg.substr(arg.size() - 4);
        for (char& c : end) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (end == ".xml") return true;
    }
    return false;
}

int ListProjectCommand(const Arguments& args) {
    BuildOptions options;
    bool verbose = false;
    for (const std::string& arg : args) {
        if (arg == "-v" || arg == "--verbose") {
            verbose = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return UsageError("list: unknown option " + arg);
        } else if (options.projectPath.empty()) {
            options.projectPath = arg;
        } else {
            return UsageError("list takes one setup or project");
        }
    }
    options.planOnly = true;
    SetupBuilder builder;
    bool planned = builder.Build(options);
    for (const std::string& warning : builder.Summary().warnings) {
        std::fprintf(stderr, "veskbuild: warning: %s\n", warning.c_str());
    }
    if (!planned) return Failure(builder.LastError());
    const BuildSummary& summary = builder.Summary();
    std::printf("Files:           %zu\n", summary.planned.size());
    std::printf("  %4s %10s  %s\n", "kind", "size", "path");
    for (const PlannedFile& file : summary.planned) {
        std::printf("  %4c %10llu  %s\n", file.kind, static_cast<unsigned long long>(file.size),
                    file.target.c_str());
    }
    std::printf("Left out:        %zu%s\n", summary.excluded.size(),
                summary.excluded.empty() || verbose ? "" : " (--verbose names them)");
    if (verbose) {
        for (const ExcludedSource& left : summary.excluded) {
            std::printf("  %s: %s\n", left.hostPath.c_str(), left.reason.c_str());
        }
    }
    return 0;
}

}  // namespace vesk::tool
