// The veskbuild commands; each returns the process exit code and reports its own errors.
#pragma once

#include <string>
#include <vector>

namespace vesk::tool {

using Arguments = std::vector<std::string>;

int CompressCommand(const Arguments& args);
int DecompressCommand(const Arguments& args);
int ListCommand(const Arguments& args);
// list PROJECT [--verbose]: the planned files without building; list hands a project to it.
int ListProjectCommand(const Arguments& args);
bool NamesProject(const Arguments& args);
int ExtractCommand(const Arguments& args);
int InitCommand(const Arguments& args);
int BuildCommand(const Arguments& args);

// One line on stderr ("veskbuild: message"); returns the exit code for a failure.
int Failure(const std::string& message);
int UsageError(const std::string& message);

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);
bool WriteFileBytes(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace vesk::tool
