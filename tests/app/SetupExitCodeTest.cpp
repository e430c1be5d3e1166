// How the end of a run maps to Setup.exe's exit code, and when a product asks for a restart.
#include <gtest/gtest.h>

#include "app/SetupExitCode.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

TEST(SetupExitCodeTest, TheEndOfTheInstallGivesOneCodePerOutcome) {
    struct Case {
        const char* what;
        bool setupFinished, installOk, installFailed, restartPending;
        SetupExitCode expected;
    };
    const Case cases[] = {
        {"completed", true, true, false, false, kSetupCompleted},
        {"completed, restart pending", true, true, false, true, kSetupRestartRequired},
        {"wizard left before the install", false, true, false, true, kSetupCancelled},
        {"Cancel answered Yes", false, false, false, false, kSetupCancelled},
        {"write error answered Yes", true, false, true, false, kSetupFailed},
        {"volume given up", true, false, true, true, kSetupFailed},
        {"install folder not made", false, false, true, false, kSetupFailed},
    };
    for (const Case& c : cases) {
        SharedFlags flags;
        flags.setupFinished = c.setupFinished;
        flags.installOk = c.installOk;
        flags.installFailed = c.installFailed;
        EXPECT_EQ(InstallExitCode(flags, c.restartPending), c.expected) << c.what;
    }
    EXPECT_EQ(kSetupCompleted, 0);
    EXPECT_STREQ(ExitCodeMeaning(kSetupRestartRequired), "installed, a restart is required");
}

TEST(SetupExitCodeTest, ARestartIsAskedForWhenTheRestartPageFollowsTheProgressPage) {
    struct Case {
        std::vector<std::pair<int, bool>> pages;  // slot, IsExec, in file order
        bool expected;
    };
    const Case cases[] = {
        {{{kSlotWelcome, true}, {kSlotProgress, true}, {kSlotFinish1, true}}, true},
        {{{kSlotProgress, true}, {kSlotFinish2, true}, {kSlotFinish1, true}}, false},
        {{{kSlotProgress, true}, {kSlotFinish1, false}, {kSlotFinish2, true}}, false},
        {{{kSlotProgress, false}, {kSlotFinish1, true}}, false},
        {{{kSlotFinish1, true}, {kSlotProgress, true}}, false},
    };
    for (const Case& c : cases) {
        InstallProject project;
        project.Add(Task::ForSlot(kSlotProjectProperties, false));
        for (const auto& page : c.pages) project.Add(Task::ForSlot(page.first, page.second));
        EXPECT_EQ(RestartFollowsInstall(project), c.expected) << &c - cases;
    }
}

}  // namespace
}  // namespace vesk
