// The veskbuild commands; each returns the process exit code and reports its own errors.
#pragma once

#include <string>
#include <vector>

namespace vesk::tool {

using Arguments = std::vector<std::string>;

// Exit codes, the same for every command.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;  // the input is wrong or the work failed; the message says why
constexpr int kExitUsage = 2;    // the command line is wrong
constexpr int kExitDamaged = 3;  // list, extract: the setup is damaged (a checksum, its layout)
constexpr int kExitTraces = 4;   // try: installed and removed, but something stayed behind

// Each takes the arguments after its name.
int CompressCommand(const Arguments& args);
int DecompressCommand(const Arguments& args);
int ListCommand(const Arguments& args);
// list PROJECT [--verbose]: the planned files without building; list hands a project to it.
int ListProjectCommand(const Arguments& args);
bool NamesProject(const Arguments& args);
int ExtractCommand(const Arguments& args);
int InitCommand(const Arguments& args);
int BuildCommand(const Arguments& args);
int CheckCommand(const Arguments& args);
int ReferenceCommand(const Arguments& args);
// try: installs and removes a setup under Wine and reports what it did (Linux; elsewhere it says
// so).
int TryCommand(const Arguments& args);

// Every line on stderr as "veskbuild: line", escaped for the terminal; returns kExitFailure.
int Failure(const std::string& message);
// Failure for a setup being read: kExitDamaged when `damaged`, else kExitFailure.
int SetupFailure(const std::string& message, bool damaged);
// "veskbuild: COMMAND: message (see veskbuild help COMMAND)" on stderr; returns kExitUsage.
int UsageError(const std::string& command, const std::string& message);
// "veskbuild: warning: message" on stderr.
void Warning(const std::string& message);

// Where the programs that come with the tool lie, found from the tool's own place so a tree
// unpacked anywhere works: in the build's layout (out/bin/veskbuild beside out/stub/Setup.exe,
// out/stub/Vesk-UnInstall.exe and out/libexec/walk_setup.exe), else where the package puts them
// (/usr/bin/veskbuild, /usr/share/veskinstall/stub/...); the build's place when neither holds it.
constexpr char kStubFolder[] = "stub";
constexpr char kHelperFolder[] = "libexec";
std::string BesideTheTool(const char* folder, const char* name);

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);
bool WriteFileBytes(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace vesk::tool
