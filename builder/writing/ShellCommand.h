// Running a command line through the system's shell, for the build's signing step.
#pragma once

#include <string>

namespace vesk {

// `path` quoted so the shell passes it to a program as one argument, whatever it holds.
std::string ShellQuote(const std::string& path);

// Runs `command` through the shell (/bin/sh -c, cmd.exe /c) and waits for it. False, with the
// reason, when it cannot be started, is killed, or exits with a code other than 0.
bool RunShellCommand(const std::string& command, std::string& why);

// The command of a template: every "{file}" replaced by ShellQuote(path).
std::string CommandForFile(const std::string& commandTemplate, const std::string& path);

}  // namespace vesk
