// A scratch folder with a project, its files and a stand-in engine stub, for builder tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "builder/SetupBuilder.h"
#include "support/TempDir.h"

namespace vesk::test {

class BuildTestKit {
public:
    BuildTestKit();

    const std::string& Dir() const { return dir_.Path(); }
    std::string Path(const std::string& relative) const { return dir_ / relative; }
    // Writes a file below the folder, making its folders.
    void Write(const std::string& relative, const std::string& bytes) const;
    // project.xml: task 2401 naming the product "Test" (plus `properties`, field lines), task
    // 2402 binding [InstallDir] to "product" (plus `bindings`), then `tasks`.
    void WriteProject(const std::string& tasks = "", const std::string& properties = "",
                      const std::string& bindings = "") const;
    // Options for project.xml with the stub, into `output` below the folder.
    BuildOptions Options(const std::string& output = "out") const;

    // 4096 bytes starting with "MZ", standing in for the engine stub.
    static std::string StubBytes();
    // A small valid 24-bit BMP.
    static std::string BitmapBytes();

private:
    TempDir dir_;
};

// The bytes of every volume of a built set, Setup.exe first, joined.
std::string SetBytes(const BuildSummary& summary);

// What a veskbuild command printed and returned.
struct CommandOutcome {
    int exitCode = 0;
    std::string out, err;
};
// Runs the command with `args`, catching its stdout and stderr.
CommandOutcome CaptureCommand(int (*command)(const std::vector<std::string>&),
                              const std::vector<std::string>& args);

}  // namespace vesk::test
