// A Processes double for native tests: records every start, run and open, and answers as set.
#pragma once

#include <vector>

#include "platform/Processes.h"

namespace vesk::test {

class RecordingProcesses : public Processes {
public:
    enum class Kind { RunAndWait, Start, Open };
    struct Call {
        Kind kind;
        std::string program;      // the path for Open
        std::string commandLine;  // the parameters for Open
        std::string folder;
        int show;
    };

    // What RunAndWait answers (nullopt: the program cannot be started), and what Start and Open
    // answer.
    std::optional<std::uint32_t> exitCode = 0;
    bool startSucceeds = true;
    bool openSucceeds = true;

    std::vector<Call> calls;

    std::optional<std::uint32_t> RunAndWait(const std::string& program,
                                            const std::string& commandLine,
                                            const std::string& folder, int show) override;
    bool Start(const std::string& program, const std::string& commandLine,
               const std::string& folder, int show) override;
    bool Open(const std::string& path, const std::string& parameters, const std::string& folder,
              int show) override;
};

}  // namespace vesk::test
