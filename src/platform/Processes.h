// Starting programs: the seam through which the engine runs the preparatory program, components
// and the programs of the finish page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vesk {

// Window show states a started program is asked for.
constexpr int kShowHidden = 0;
constexpr int kShowNormal = 1;

class Processes {
public:
    virtual ~Processes() = default;

    // Makes `folder` the current folder of this process (it is not restored), starts `program`
    // with `commandLine` (which names the program itself, quoted) at normal priority, inheriting
    // handles and asked for the window show state `show`, and waits without a time limit until it
    // ends. Its exit code; nullopt when it cannot be started.
    virtual std::optional<std::uint32_t> RunAndWait(const std::string& program,
                                                    const std::string& commandLine,
                                                    const std::string& folder, int show) = 0;

    // Starts `program` with `commandLine` (naming the program itself, quoted) in `folder` ("":
    // this process's current folder) and does not wait. False when it cannot be started.
    virtual bool Start(const std::string& program, const std::string& commandLine,
                       const std::string& folder, int show) = 0;

    // Opens `path` with the shell's default verb for its type (a document with its program),
    // with `parameters` and in `folder` (either may be empty), and does not wait. False when the
    // shell cannot open it.
    virtual bool Open(const std::string& path, const std::string& parameters,
                      const std::string& folder, int show) = 0;
};

// The running system's processes (natively: nothing can be started).
Processes& HostProcesses();

}  // namespace vesk
