// The commands of veskbuild with their synopsis, options and help, for Main, `help COMMAND` and
// `COMMAND --help`.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "builder/veskbuild/CommandLine.h"

namespace vesk::tool {

struct CommandInfo {
    const char* name;
    const char* synopsis;  // after "veskbuild "
    const char* summary;   // one line
    const char* details;   // more lines, or ""
    std::vector<OptionSpec> options;
    int (*run)(const Arguments& args);
};

const std::vector<CommandInfo>& CommandTable();
// nullptr for an unknown name.
const CommandInfo* FindCommand(const std::string& name);

// The tool's usage: every command's synopsis and summary, the exit codes.
void PrintUsage(std::FILE* stream);
// The command's help on stdout; returns kExitSuccess.
int PrintHelp(const CommandInfo& command);

// Parses a command's arguments against its options; on a usage error or --help it prints what
// is due and sets `exitCode`, and the command returns it at once (false).
bool ParseCommandLine(const std::string& command, const Arguments& args, CommandLine& line,
                      int& exitCode);

// "veskbuild 1.0.0".
std::string VersionText();

}  // namespace vesk::tool
