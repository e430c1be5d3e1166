// veskbuild: builds, checks, lists and extracts setups.
#include <cstdio>

#include "builder/reading/NearMiss.h"
#include "builder/veskbuild/CommandTable.h"
#include "builder/veskbuild/Commands.h"

int main(int argc, char** argv) {
    using namespace vesk::tool;
    const Arguments all(argv + 1, argv + argc);
    if (all.empty()) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string& first = all[0];
    if (first == "--help" || first == "-h" || (first == "help" && all.size() == 1)) {
        PrintUsage(stdout);
        return kExitSuccess;
    }
    if (first == "--version") {
        std::printf("%s\n", VersionText().c_str());
        return kExitSuccess;
    }
    const bool helpWanted = first == "help";
    const std::string name = helpWanted ? all[1] : first;
    const CommandInfo* command = FindCommand(name);
    if (!command) {
        std::vector<std::string> names;
        for (const CommandInfo& info : CommandTable()) names.push_back(info.name);
        return UsageError("", "unknown command \"" + name + "\"" + vesk::DidYouMean(name, names));
    }
    if (helpWanted) return PrintHelp(*command);
    return command->run(Arguments(all.begin() + 1, all.end()));
}
