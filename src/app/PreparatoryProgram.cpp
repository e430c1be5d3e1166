// The preparatory program.
#include "app/PreparatoryProgram.h"

#include "app/StartupChoices.h"

namespace vesk {

std::uint32_t RunPreparatoryProgram(const SetupSession& session, Processes& processes,
                                    const FailureNotice& notice) {
    const std::string program = session.TempNameFor(kPreparatoryProgram);
    if (!session.runFolder.Wrote(program)) {
        if (notice) notice(kCreateProcessFailedText);
        return kCreateProcessFailed;
    }
    return RunAndWait(processes, program, kShowNormal, notice);
}

}  // namespace vesk
