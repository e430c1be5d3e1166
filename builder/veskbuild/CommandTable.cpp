// The command table and the help texts.
#include "builder/veskbuild/CommandTable.h"

#include "builder/veskbuild/Commands.h"

#ifndef VESKBUILD_VERSION
#define VESKBUILD_VERSION "0"
#endif

namespace vesk::tool {
namespace {

const OptionSpec kQuiet = {"--quiet", "-q", false, false,
                           "-q, --quiet              print nothing but errors"};
const OptionSpec kDefine = {
    "--define", "-D", true, true,
    "-D, --define NAME=VALUE  put VALUE for ${NAME} in the project (repeatable; $${ is a "
    "literal ${)"};
const OptionSpec kWerror = {"--werror", nullptr, false, false,
                            "--werror                 fail on a warning as on an error"};
const OptionSpec kVerbose = {
    "--verbose", "-v", false, false,
    "-v, --verbose            name every file and folder the sources leave out, and why"};
const OptionSpec kUninstaller = {
    "--uninstaller", nullptr, true, false,
    "--uninstaller PROGRAM    the uninstaller, packed when task 2410 asks for a record\n"
    "                         (default: the one that came with veskbuild)"};

const OptionSpec kAllowMissingTargets = {
    "--allow-missing-targets", nullptr, false, false,
    "--allow-missing-targets  take a shortcut, finish-page program, font or component whose\n"
    "                         file the setup does not install as installed by other means"};

const OptionSpec kMethod = {"--method", nullptr, true, false,
                            "--method METHOD          lzss (the default) or lzma"};

const std::vector<CommandInfo> kCommands = {
    {"build",
     "build PROJECT [-o OUTDIR] [options]",
     "make Setup.exe (and Setup2.Cab, ...) from a project",
     "Every error of the project is reported before anything is written. On a terminal a\n"
     "build that takes more than a second shows its progress on stderr.\n"
     "--sign-command signs Setup.exe in place, for example with osslsigncode:\n"
     "  --sign-command 'osslsigncode sign -certs c.pem -key k.pem -in {file} -out {file}.s &&\n"
     "                  mv {file}.s {file}'\n"
     "It signs the uninstaller the setup carries the same way, before it is packed. Volume\n"
     "files (Setup2.Cab ...) are no programs and are not signed: the checksums in Setup.exe\n"
     "bind them to it.",
     {{"--output", "-o", true, false,
       "-o, --output OUTDIR      the output folder (default: OutPutPath of task 2401)"},
      {"--stub", nullptr, true, false,
       "--stub SETUP.EXE         the engine (default: the one that came with veskbuild)"},
      {"--disk-size", nullptr, true, false,
       "--disk-size SIZE         data bytes per volume: 1474560, 1440K, 650M (overrides "
       "DiskSize)"},
      {"--compression", nullptr, true, false,
       "--compression METHOD     lzss (the default), lzma (each file a body) or lzma-solid\n"
       "                         (files in solid blocks; overrides CompressType)"},
      {"--identity", nullptr, true, false,
       "--identity TEXT          the set identity, 59 characters at most (default: a digest)"},
      {"--sign-command", nullptr, true, false,
       "--sign-command CMD       run CMD on the finished Setup.exe before it is published,\n"
       "                         and on the uninstaller before it is packed; {file} stands\n"
       "                         for the program's path (quoted for the shell)"},
      kUninstaller,
      kDefine,
      kWerror,
      kAllowMissingTargets,
      kVerbose,
      kQuiet},
     BuildCommand},
    {"check",
     "check PROJECT [options]",
     "check a project as build does, writing nothing",
     "Reads the project and every file it names as build does, and reports every error and\n"
     "warning at once, in the order of the project's lines, each with the file and line; exit\n"
     "code 0 when the project builds.",
     {kUninstaller, kDefine, kWerror, kAllowMissingTargets, kQuiet},
     CheckCommand},
    {"list",
     "list SETUP | list PROJECT.xml [--verbose]",
     "show a setup's container, project and every file entry",
     "Texts of the setup are shown with control characters escaped (\\xNN). A volume file\n"
     "(Setup2.Cab ...) is named as such: list the set's Setup.exe.\n"
     "Given a project (a .xml file), lists the files a build would pack without building, and\n"
     "how many the sources leave out (--verbose: each path and the rule).",
     {kVerbose},
     ListCommand},
    {"extract",
     "extract SETUP OUTDIR [--quiet]",
     "unpack every file, the project (project.xml) and the language file",
     "A path token becomes a folder ([InstallDir]\\a.txt goes to OUTDIR/InstallDir/a.txt).\n"
     "Entries that would leave OUTDIR, that Windows cannot name (CON, a trailing dot ...),\n"
     "that collide with another entry or with project.xml are refused.",
     {kQuiet},
     ExtractCommand},
    {"init",
     "init DIR [--quiet]",
     "write a commented starter project into a new folder",
     "",
     {kQuiet},
     InitCommand},
    {"try",
     "try PROJECT.xml|SETUP.EXE [-o DIR] [options]",
     "install and remove a setup under Wine, with pictures and a report",
     "Builds the setup when given a project (into DIR/setup), then in a new Wine prefix\n"
     "(DIR/prefix, removed afterwards unless --keep) on a virtual display (Xvfb): walks the\n"
     "wizard with every default as a user would, taking a picture of every page and message\n"
     "(DIR/pages), leaving the finish page's programs unstarted; reads what the install did\n"
     "(files, folders, shortcuts through the shell's link service, fonts, registry values, the\n"
     "uninstall entry: the prefix before and after, Wine's own changes measured and left out);\n"
     "removes the product through its uninstall entry; writes DIR/report.html and a summary.\n"
     "Needs wine (with wine32), wineserver and Xvfb on PATH; installs nothing itself.\n"
     "Exit code 0 when the product installed and went without a trace; 1 when the build, the\n"
     "install or the removal failed; 4 when it installed and was removed but something was\n"
     "left behind (the findings say what).",
     {{"--output", "-o", true, false, "-o, --output DIR         the run's folder (default: try)"},
      {"--keep", nullptr, false, false,
       "--keep                   keep the Wine prefix (DIR/prefix) after the run"},
      {"--silent", nullptr, false, false,
       "--silent                 install with /S and remove with the quiet uninstall command"},
      {"--dpi", nullptr, true, false,
       "--dpi N                  the screen's resolution: 120 for the larger font size\n"
       "                         (default 96)"},
      {"--walker", nullptr, true, false,
       "--walker PROGRAM         the walk program (default: ../libexec/walk_setup.exe beside\n"
       "                         veskbuild)"},
      {"--stub", nullptr, true, false,
       "--stub SETUP.EXE         for a project: the engine (as build)"},
      {"--compression", nullptr, true, false,
       "--compression METHOD     for a project: lzss, lzma or lzma-solid (as build)"},
      kUninstaller,
      kDefine,
      kQuiet},
     TryCommand},
    {"reference",
     "reference",
     "print the field reference (Markdown)",
     "Every task, subtask type, field, path token and text key, with what reads it: the\n"
     "text of docs/field-reference.md.",
     {},
     ReferenceCommand},
    {"compress",
     "compress IN OUT [--method lzss|lzma] [--quiet]",
     "write IN as a raw LZSS stream or an LZMA body",
     "An LZMA body is what a setup built with --compression lzma holds: the .lzma layout\n"
     "(properties, length, data), which xz --format=lzma also reads.",
     {kMethod, kQuiet},
     CompressCommand},
    {"decompress",
     "decompress IN OUT [--method lzss|lzma] [--quiet]",
     "decode a raw LZSS stream or an LZMA body",
     "An LZMA body is decoded as the engine decodes it, with the same limits.",
     {kMethod, kQuiet},
     DecompressCommand},
};

const char kExitCodes[] =
    "exit codes: 0 done, 1 the input is wrong or the work failed (the message says why),\n"
    "            2 the command line is wrong (try: Wine or Xvfb is missing), 3 the setup is\n"
    "            damaged (list, extract), 4 try: something stayed behind after the removal,\n"
    "            130 interrupted (build: nothing was written)\n";

}  // namespace

const std::vector<CommandInfo>& CommandTable() {
    return kCommands;
}

const CommandInfo* FindCommand(const std::string& name) {
    for (const CommandInfo& command : kCommands) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

void PrintUsage(std::FILE* stream) {
    std::fprintf(stream, "usage: veskbuild COMMAND ...\n\n");
    for (const CommandInfo& command : kCommands) {
        std::fprintf(stream, "  %-36s %s\n", command.synopsis, command.summary);
    }
    std::fprintf(stream,
                 "\n  veskbuild help COMMAND (or COMMAND --help) tells more; veskbuild --version "
                 "names the version.\n"
                 "  Options take their value as --option VALUE or --option=VALUE.\n\n%s",
                 kExitCodes);
}

int PrintHelp(const CommandInfo& command) {
    std::printf("usage: veskbuild %s\n\n%s\n", command.synopsis, command.summary);
    if (*command.details) std::printf("\n%s\n", command.details);
    if (!command.options.empty()) {
        std::printf("\noptions (--option VALUE or --option=VALUE):\n");
        for (const OptionSpec& option : command.options) std::printf("  %s\n", option.help);
    }
    std::printf("\n%s", kExitCodes);
    return kExitSuccess;
}

bool ParseCommandLine(const std::string& command, const Arguments& args, CommandLine& line,
                      int& exitCode) {
    const CommandInfo* info = FindCommand(command);
    std::string error;
    if (!line.Parse(args, info->options, error)) {
        exitCode = UsageError(command, error);
        return false;
    }
    if (line.HelpAsked()) {
        exitCode = PrintHelp(*info);
        return false;
    }
    return true;
}

std::string VersionText() {
    return std::string("veskbuild ") + VESKBUILD_VERSION;
}

}  // namespace vesk::tool
