// init: a starter project that builds at once.
#include <cstdio>
#include <filesystem>

#include "builder/starter/StarterProject.h"
#include "builder/veskbuild/CommandTable.h"
#include "builder/veskbuild/Commands.h"

namespace vesk::tool {

int InitCommand(const Arguments& args) {
    CommandLine line;
    int exitCode = kExitSuccess;
    if (!ParseCommandLine("init", args, line, exitCode)) return exitCode;
    if (line.Operands().size() != 1) return UsageError("init", "give one folder");
    const std::string& dir = line.Operands()[0];
    StarterProject starter;
    if (!starter.Write(dir)) return Failure(starter.LastError());
    if (line.Has("--quiet")) return kExitSuccess;
    std::printf("Starter project written to %s:\n", dir.c_str());
    for (const std::string& file : starter.Files()) std::printf("  %s\n", file.c_str());
    std::filesystem::path project = std::filesystem::path(dir) / "project.xml";
    std::printf("Build it with: veskbuild build %s -o %s\n", project.string().c_str(),
                (std::filesystem::path(dir) / "output").string().c_str());
    return kExitSuccess;
}

}  // namespace vesk::tool
