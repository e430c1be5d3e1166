// Running the project's preparatory program, the start-up file that runs before the wizard.
#pragma once

#include <cstdint>

#include "install/RunAndWait.h"
#include "platform/Processes.h"
#include "session/SetupSession.h"

namespace vesk {

// Runs the preparatory program from the run's folder as RunAndWait does and gives its exit code.
// Only the file this run unpacked there itself (and holds unchanged since) is started: when the
// start-up files brought none, whatever else has the name is not run, and the user gets the
// notice of a program that cannot be started (kCreateProcessFailed).
std::uint32_t RunPreparatoryProgram(const SetupSession& session, Processes& processes,
                                    const FailureNotice& notice);

}  // namespace vesk
