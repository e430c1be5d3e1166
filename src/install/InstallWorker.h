// The install worker: the phases of the install, run on their own thread once the user has
// walked the wizard to the progress page.
#pragma once

#include <functional>

#include "install/InstallReport.h"
#include "session/SetupSession.h"

namespace vesk {

// Waits the given number of milliseconds (the worker's fixed pauses; tests count them).
using Pause = std::function<void(int milliseconds)>;

// Runs the phases in their fixed order, each announced on the status line and followed by a
// pause, watches for the user's Cancel between items, and ends by telling the report whether
// the install completed. Touches no window: everything the user sees goes through the report.
class InstallWorker {
public:
    InstallWorker(SetupSession& session, InstallReport& report, Pause pause)
        : session_(session), report_(report), pause_(std::move(pause)) {}

    // The whole install; returns when the report has been told the outcome.
    void Run();

    // Pause after the first status text and after each phase, and after every folder or file.
    static constexpr int kPhasePauseMs = 300;
    static constexpr int kItemPauseMs = 3;

private:
    // When Cancel was pressed: asks whether to stop. True when the user chose to stop (the
    // install is then no longer in a good state); otherwise the request is cleared.
    bool CancelCheck();
    // Announces a phase, runs its items, pauses; false when the install stopped during it.
    bool RunPhase(TextKey status, const std::function<void()>& items);

    SetupSession& session_;
    InstallReport& report_;
    Pause pause_;
};

}  // namespace vesk
