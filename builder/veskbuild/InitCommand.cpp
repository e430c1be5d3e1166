// init: a starter project that builds at once.
#include <cstdio>
#include <filesystem>

#include "Commands.h"
#include "StarterProject.h"

namespace vesk::tool {

int InitCommand(const Arguments& args) {
    if (args.size() != 1) return UsageError("init needs DIR");
    StarterProject starter;
    if (!starter.Write(args[0])) return Failure(starter.LastError());
    std::printf("Starter project written to %s:\n", args[0].c_str());
    for (const std::string& file : starter.Files()) std::printf("  %s\n", file.c_str());
    std::filesystem::path project = std::filesystem::path(args[0]) / "project.xml";
    std::printf("Build it with: veskbuild build %s -o %s\n", project.string().c_str(),
                (std::filesystem::path(args[0]) / "output").string().c_str());
    return 0;
}

}  // namespace vesk::tool
