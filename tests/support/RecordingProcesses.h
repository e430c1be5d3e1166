// Processes for native tests: records every start and open, one line each, and answers with
// the result the test sets.
#pragma once

#include <string>
#include <vector>

#include "platform/Processes.h"

namespace vesk::test {

class RecordingProcesses : public Processes {
public:
    std::vector<std::string> log;
    bool succeed = true;

    std::optional<std::uint32_t> RunAndWait(const std::string& program,
                                            const std::string& commandLine,
                                            const std::string& folder, int show) override {
        log.push_back("wait " + program + " | " + commandLine + " | " + folder + " | " +
                      std::to_string(show));
        return succeed ? std::optional<std::uint32_t>(0) : std::nullopt;
    }
    bool Start(const std::string& program, const std::string& commandLine,
               const std::string& folder, int show) override {
        log.push_back("start " + program + " | " + commandLine + " | " + folder + " | " +
                      std::to_string(show));
        return succeed;
    }
    bool Open(const std::string& path, const std::string& parameters, const std::string& folder,
              int show) override {
        log.push_back("open " + path + " | " + parameters + " | " + folder + " | " +
                      std::to_string(show));
        return succeed;
    }
};

}  // namespace vesk::test
