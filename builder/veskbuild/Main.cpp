// veskbuild: builds, lists and extracts setups.
#include <cstdio>
#include <cstring>

#include "Commands.h"

namespace {

const char kUsage[] =
    "usage: veskbuild COMMAND ...\n"
    "  compress IN OUT        write IN as a raw LZSS stream\n"
    "  decompress IN OUT      decode a raw LZSS stream\n"
    "  list SETUP             show the container, the project and every file entry\n"
    "  list PROJECT [--verbose]  the files a build would pack (and what it leaves out)\n"
    "  extract SETUP OUTDIR   unpack every file, the project and the language file\n"
    "  init DIR               write a starter project into a new folder\n"
    "  build PROJECT [-o OUTDIR] [--stub SETUP.EXE] [--disk-size SIZE] [--identity TEXT]\n"
    "        [--uninstaller PROGRAM] [--quiet] [--verbose]   make Setup.exe and its volumes\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace vesk::tool;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::string command = argv[1];
    Arguments args(argv + 2, argv + argc);
    if (command == "compress") return CompressCommand(args);
    if (command == "decompress") return DecompressCommand(args);
    if (command == "list") return ListCommand(args);
    if (command == "extract") return ExtractCommand(args);
    if (command == "init") return InitCommand(args);
    if (command == "build") return BuildCommand(args);
    return UsageError("unknown command \"" + command + "\"");
}
