// Recording program starts for native tests.
#include "support/RecordingProcesses.h"

namespace vesk::test {

std::optional<std::uint32_t> RecordingProcesses::RunAndWait(const std::string& program,
                                                            const std::string& commandLine,
                                                            const std::string& folder, int show) {
    calls.push_back({Kind::RunAndWait, program, commandLine, folder, show});
    return exitCode;
}

bool RecordingProcesses::Start(const std::string& program, const std::string& commandLine,
                               const std::string& folder, int show) {
    calls.push_back({Kind::Start, program, commandLine, folder, show});
    return startSucceeds;
}

bool RecordingProcesses::Open(const std::string& path, const std::string& parameters,
                              const std::string& folder, int show) {
    calls.push_back({Kind::Open, path, parameters, folder, show});
    return openSucceeds;
}

}  // namespace vesk::test
