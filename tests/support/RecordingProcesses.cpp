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

std::vector<std::string> RecordingProcesses::Log() const {
    static const char* const kNames[] = {"wait", "start", "open"};
    std::vector<std::string> lines;
    for (const Call& call : calls) {
        lines.push_back(std::string(kNames[int(call.kind)]) + " " + call.program + " | " +
                        call.commandLine + " | " + call.folder + " | " + std::to_string(call.show));
    }
    return lines;
}

}  // namespace vesk::test
