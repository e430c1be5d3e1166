// The worker's order of phases, its pauses, the Cancel question and its end, through a scripted
// report.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "install/InstallWorker.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"

namespace vesk {
namespace {

// Answers questions from a script and records everything, one line per call. `cancelAt` presses
// Cancel when that status text is shown.
class ScriptedReport : public InstallReport {
public:
    explicit ScriptedReport(SharedFlags& flags) : flags_(flags) {}
    std::vector<std::string> log;
    std::deque<bool> answers;
    std::string cancelAt;

    void SetStatus(const std::string& text) override {
        log.push_back(text);
        if (text == cancelAt) flags_.cancelRequested = true;
    }
    void SetProgress(int percent) override { log.push_back(std::to_string(percent) + "%"); }
    bool AskYesNo(const std::string& text, const std::string&, QuestionIcon) override {
        log.push_back("? " + text);
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Finish(InstallOutcome outcome) override {
        log.push_back(outcome == InstallOutcome::Completed ? "completed" : "ended early");
    }

private:
    SharedFlags& flags_;
};

struct WorkerRun {
    test::FakeSystemFacts facts;
    test::MemoryRegistry registry;
    SetupSession session{facts, registry};
    ScriptedReport report{session.flags};
    int pausedMs = 0;

    WorkerRun() {
        TextLineList lines;
        for (const char* line :
             {"[Language=409]", "ExitInstallMessage=Exit?", "InstallProcessDesc2=Installing",
              "CreateFolderDesc=Folders", "CopyFileDesc=Files", "InstallFontDesc=Fonts",
              "OperationRegistryDesc=Registry", "RegisterComDesc=Components",
              "ClearFileDesc=Clearing", "CreateFileLinkDesc=Shortcuts"}) {
            lines.Add(line);
        }
        session.texts.LoadLines(lines);
    }
    void Go() {
        InstallWorker(session, report, [this](int ms) { pausedMs += ms; }).Run();
    }
};

const std::vector<std::string> kAllPhases = {"Installing", "Folders",    "Files",    "Fonts",
                                             "Registry",   "Components", "Clearing", "Shortcuts"};

TEST(InstallWorkerTest, PhasesRunInOrderWithTheirPausesAndEndCompleted) {
    WorkerRun run;
    run.Go();
    std::vector<std::string> expected = kAllPhases;
    expected.insert(expected.end(), {"100%", "completed"});
    EXPECT_EQ(run.report.log, expected);
    EXPECT_EQ(run.pausedMs, 8 * InstallWorker::kPhasePauseMs);
    EXPECT_TRUE(run.session.flags.setupFinished);
    EXPECT_TRUE(run.session.flags.installOk);
}

TEST(InstallWorkerTest, CancelAsksAndYesEndsEarlyWhileNoGoesOn) {
    struct Case {
        const char* cancelAt;
        bool answer;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"Fonts", false, {}},  // No: every phase still runs
        {"Fonts", true, {"Installing", "Folders", "Files", "Fonts", "? Exit?", "ended early"}},
        {"Shortcuts", true, {}},
    };
    for (const Case& c : cases) {
        WorkerRun run;
        run.report.cancelAt = c.cancelAt;
        run.report.answers = {c.answer};
        run.Go();
        std::vector<std::string> expected = c.expected;
        if (expected.empty()) {
            expected = kAllPhases;
            auto at = std::find(expected.begin(), expected.end(), c.cancelAt);
            expected.insert(at + 1, "? Exit?");
            if (c.answer) {
                expected.push_back("ended early");
            } else {
                expected.insert(expected.end(), {"100%", "completed"});
            }
        }
        EXPECT_EQ(run.report.log, expected) << c.cancelAt << " " << c.answer;
        EXPECT_EQ(run.session.flags.installOk, !c.answer);
        EXPECT_EQ(run.session.flags.setupFinished, !c.answer);
        EXPECT_FALSE(run.session.flags.cancelRequested && !c.answer);
    }
}

}  // namespace
}  // namespace vesk
